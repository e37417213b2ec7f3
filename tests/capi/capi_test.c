/* The C interface from a strict C99 program: every area once with known
 * answers, and the failures a C host meets (null pointers, short buffers,
 * texts that do not read). Prints each failed check; exits 1 if any. */
#include <limits.h>
#include <math.h>
#include <stdio.h>
#include <string.h>

#include "marlix/marlix_c.h"

static int failures = 0;
/* The row of a table, or the value, that a loop is checking; each failure
 * names it. INT_MIN outside such loops. */
static int row = INT_MIN;

static void fail(int line, const char* what) {
    ++failures;
    if (row == INT_MIN) fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, line, what);
    if (row != INT_MIN)
        fprintf(stderr, "%s:%d: row %d: check failed: %s\n", __FILE__, line, row, what);
}

#define CHECK(condition)                              \
    do {                                              \
        if (!(condition)) fail(__LINE__, #condition); \
    } while (0)
/* A call that writes text into buffer, which must then read want. */
#define CHECK_TEXT(call, buffer, want) CHECK((call) == MARLIX_OK && same(buffer, want))
/* The statement after it once with row at each of first..last, then row unset. */
#define FOR_ROWS(first, last) for (row = (first); row <= (last) || (row = INT_MIN, 0); ++row)
#define FOR_TABLE(table) FOR_ROWS(0, (int)(sizeof table / sizeof table[0]) - 1)

static void check_each(const int* got, size_t count, int want, int line) {
    size_t i;
    for (i = 0; i < count; ++i) {
        char what[80];
        if (got[i] == want) continue;
        snprintf(what, sizeof what, "call %lu answered %d, not %d", (unsigned long)i, got[i], want);
        fail(line, what);
    }
}
/* Calls that must each answer status; a failure names the call by its place
 * in the list. The calls run in no set order, so none may depend on another. */
#define CHECK_EACH(status, ...)                                           \
    do {                                                                  \
        const int got_[] = {__VA_ARGS__};                                 \
        check_each(got_, sizeof got_ / sizeof got_[0], status, __LINE__); \
    } while (0)

static int same(const char* a, const char* b) { return strcmp(a, b) == 0; }

/* The messages the library sends to the diagnostics sink. */
static int messages = 0;
static void count_message(const char* text, void* context) {
    (void)text;
    ++*(int*)context;
}

static void label_texts(void) {
    static const struct {
        const char* type;
        int32_t sample;
        const char* prefix;
        const char* text;
    } rows[] = {
        {"P", 93079, NULL, " 01:02:03.04"},
        /* A typed prefix, read as people write it. */
        {"#10", 1000, "KJ 12 3456", "KJ1234560015+10"},
    };
    char text[MARLIX_LABEL_TEXT_SIZE], why[96];
    int32_t type = -1, sample = 0;
    FOR_TABLE(rows) {
        CHECK(marlix_type_find(rows[row].type, &type) == MARLIX_OK);
        CHECK_TEXT(marlix_type_text(type, rows[row].sample, rows[row].prefix, 0, text, sizeof text),
                   text, rows[row].text);
        CHECK(marlix_type_sample(type, rows[row].text, rows[row].prefix, 0, &sample) == MARLIX_OK &&
              sample == rows[row].sample);
    }
    CHECK_TEXT(marlix_type_name(5, text, sizeof text), text, "pal_label");
    /* Strict unless asked: a frame past the rate, and a prefix that is none. */
    CHECK_TEXT(marlix_type_refusal(5, "10:00:00:99", NULL, 0, why, sizeof why), why,
               "not a label of type pal_label: frames 99 is not below 25");
    CHECK_TEXT(marlix_type_refusal(5, "10:00:00:24", NULL, 0, why, sizeof why), why, "");
    CHECK(marlix_type_sample(5, "10:00:00:99", NULL, MARLIX_READ_LAX, &sample) == MARLIX_OK &&
          sample == 900099);
    CHECK(marlix_type_text(10, 0, "KJ 12 34", MARLIX_READ_LAX, text, sizeof text) == MARLIX_OK);
    CHECK_EACH(MARLIX_ERR_UNREADABLE, marlix_type_sample(5, "10:00:00:99", NULL, 0, &sample),
               marlix_type_text(10, 0, "KJ 12 34", 0, text, sizeof text));
    /* A short buffer gets the text cut and terminated. */
    CHECK(marlix_type_text(5, 93079, NULL, 0, text, 6) == MARLIX_ERR_TRUNCATED &&
          same(text, " 01:0"));
    CHECK_EACH(MARLIX_ERR_ARGUMENT, marlix_type_text(5, 93079, NULL, 0, text, 0),
               marlix_type_text(5, 0, NULL, 0, NULL, sizeof text), marlix_type_find(NULL, &type),
               marlix_type_find("P", NULL), marlix_type_sample(5, NULL, NULL, 0, &sample),
               marlix_type_sample(5, " 01:00:00.00", NULL, 0, NULL),
               marlix_type_refusal(5, NULL, NULL, 0, text, sizeof text),
               marlix_type_refusal(5, "x", NULL, 0, NULL, 8),
               marlix_type_refusal(5, "x", NULL, 0, text, 0));
    /* Types run 0..41; 9 has no converter of its own. A name is read whole. */
    FOR_ROWS(0, 41) CHECK(marlix_type_name(row, why, MARLIX_NAME_SIZE) == MARLIX_OK);
    CHECK_EACH(MARLIX_ERR_LABEL_TYPE, marlix_type_text(9, 0, NULL, 0, text, sizeof text),
               marlix_type_text(-1, 0, NULL, 0, text, sizeof text),
               marlix_type_name(-1, text, sizeof text), marlix_type_name(42, text, sizeof text),
               marlix_type_text(42, 0, NULL, 0, text, sizeof text),
               marlix_type_sample(42, " 01:00:00.00", NULL, 0, &sample),
               marlix_type_find("59.94df", &type));
}

static void labels(void) {
    marlix_label *label = NULL, *back = NULL;
    marlix_medium_id id = {2, 2}, read_id = {0, 0};
    char keep[160], text[64];
    int32_t v = 0, length = 0;
    double seconds = 0;
    CHECK(marlix_label_new(5, &label) == MARLIX_OK &&
          marlix_label_length(label, &length) == MARLIX_OK && length == 100000000);
    CHECK(marlix_label_set_start_text(label, "01:00:00:00", 0) == MARLIX_OK &&
          marlix_label_set_length(label, 250) == MARLIX_OK);
    CHECK_TEXT(marlix_label_keep_string(label, keep, sizeof keep), keep,
               "LABEL_REV:1 pal_label  01:00:00.00 250 0.0400000000 1");
    CHECK_TEXT(marlix_label_text_at(label, 251, text, sizeof text), text, ">>>>>>");
    CHECK(marlix_label_position(label, "01:00:00:99", 0, &seconds) == MARLIX_ERR_UNREADABLE);
    CHECK(marlix_label_position(label, "01:00:00:99", MARLIX_READ_LAX, &seconds) == MARLIX_OK &&
          fabs(seconds - 3.96) < 1e-9);
    /* Strictly read, a frame past the rate is refused; laxly it reads. */
    CHECK(marlix_label_set_start_text(label, "01:00:00:99", 0) == MARLIX_ERR_UNREADABLE);
    CHECK(marlix_label_set_start_text(label, "01:00:00:99", MARLIX_READ_LAX) == MARLIX_OK);
    CHECK(marlix_label_start(label, &v) == MARLIX_OK && v == 90099);
    CHECK(marlix_label_set_pitch(label, 0.02) == MARLIX_OK);
    CHECK(marlix_label_pitch(label, &seconds) == MARLIX_OK && seconds == 0.02);
    CHECK_EACH(MARLIX_ERR_ARGUMENT, marlix_label_set_pitch(label, INFINITY),
               marlix_label_set_pitch(label, NAN), marlix_label_set_pitch(NULL, 0.02),
               marlix_label_set_start_text(NULL, "01:00:00:00", 0),
               marlix_label_set_start_text(label, NULL, 0),
               marlix_label_position(NULL, "01:00:01:00", 0, &seconds),
               marlix_label_position(label, NULL, 0, &seconds),
               marlix_label_position(label, "01:00:01:00", 0, NULL));
    marlix_label_free(label);
    CHECK_EACH(MARLIX_ERR_LABEL_TYPE, marlix_label_new(9, &label), marlix_label_new(42, &label),
               marlix_label_new(-1, &label));

    CHECK(marlix_label_read(keep, &back) == MARLIX_OK);
    CHECK(marlix_label_start(back, &v) == MARLIX_OK && v == 90000);
    /* Any other int than 0 bounds. */
    CHECK(marlix_label_set_bounded(back, 0) == MARLIX_OK &&
          marlix_label_bounded(back, &v) == MARLIX_OK && v == 0);
    CHECK(marlix_label_set_bounded(back, -2) == MARLIX_OK &&
          marlix_label_bounded(back, &v) == MARLIX_OK && v == 1);
    CHECK(marlix_label_medium_id(back, &read_id) == MARLIX_ERR_ARGUMENT);
    marlix_label_free(back);
    /* Text after the last field, and a start that is no label. */
    CHECK_EACH(MARLIX_ERR_UNREADABLE,
               marlix_label_read("LABEL_REV:1 pal_label  01:00:00.00 250 0.04 1 x", &back),
               marlix_edit_label_read("LABEL_REV:1 pal_label 99:99:99.99 250 0.04 1", &back));
    CHECK(marlix_label_read(keep, NULL) == MARLIX_ERR_ARGUMENT);

    CHECK(marlix_edit_label_new(5, id, &label) == MARLIX_OK);
    CHECK(marlix_label_set_start(label, 25) == MARLIX_OK);
    CHECK(marlix_label_start(label, &v) == MARLIX_OK && v == 25);
    CHECK(marlix_label_set_start_text(label, "01:00:00:00", 0) == MARLIX_OK);
    CHECK_TEXT(marlix_label_keep_string(label, keep, sizeof keep), keep,
               "LABEL_REV:1 pal_label  01:00:00.00 100000000 0.0416666667 1 MediumRollId 2,2");
    marlix_label_free(label);
    CHECK(marlix_edit_label_read(keep, &back) == MARLIX_OK);
    CHECK(marlix_label_medium_id(back, &read_id) == MARLIX_OK && read_id.medium == 2 &&
          read_id.generation == 2);
    CHECK_EACH(MARLIX_ERR_ARGUMENT, marlix_label_medium_id(back, NULL),
               marlix_label_medium_id(NULL, &read_id), marlix_edit_label_read(NULL, &label),
               marlix_edit_label_read(keep, NULL), marlix_edit_label_new(5, id, NULL),
               marlix_label_keep_string(back, NULL, 8), marlix_label_keep_string(back, keep, 0));
    marlix_label_free(back);
    marlix_label_free(NULL);

    /* A keep string stores a keycode's roll. A typed prefix reads laxly. */
    CHECK(marlix_label_new(10, &label) == MARLIX_OK);
    CHECK(marlix_label_keep_string(label, keep, sizeof keep) == MARLIX_ERR_NOT_KEPT);
    CHECK(marlix_label_set_prefix(label, "KU 22", 0) == MARLIX_ERR_UNREADABLE);
    CHECK(marlix_label_set_prefix(label, "KU 22", MARLIX_READ_LAX) == MARLIX_OK);
    CHECK(marlix_label_set_prefix(label, "KU 22 9012", 0) == MARLIX_OK);
    CHECK_EACH(MARLIX_ERR_ARGUMENT, marlix_label_set_prefix(NULL, "KU 22 9012", 0),
               marlix_label_set_prefix(label, NULL, 0));
    CHECK(marlix_label_set_start(label, 78976) == MARLIX_OK &&
          marlix_label_set_length(label, 640) == MARLIX_OK);
    CHECK_TEXT(marlix_label_keep_string(label, keep, sizeof keep), keep,
               "LABEL_REV:1 keycode_35_label KU2290121234+00 160 0.0416666667 1");
    marlix_label_free(label);

    /* A bounded span's last sample and the one past it. */
    CHECK(marlix_label_new(5, &label) == MARLIX_OK &&
          marlix_label_set_length(label, 250) == MARLIX_OK);
    CHECK(marlix_label_position(label, "00:00:10:00", 0, &seconds) == MARLIX_OK && seconds == 10);
    seconds = -9;
    CHECK(marlix_label_position(label, "00:00:10:01", 0, &seconds) == MARLIX_ERR_UNREADABLE &&
          seconds == -9);
    marlix_label_free(label);
}

static void media(void) {
    /* Identities one past the ends of medium and generation. */
    static const marlix_medium_id bad_ids[] = {{-1, 1}, {2, -1}, {41, 1}};
    const marlix_medium_id any = {1, 1}, bad_generation = {2, 6}, bad_medium = {41, 1};
    marlix_medium_id id = {0, 0};
    marlix_label* edit  = NULL;
    int32_t m           = 0;
    char text[64], reel[32], name[MARLIX_NAME_SIZE];
    CHECK(marlix_medium_find("film", &m) == MARLIX_OK);
    CHECK_TEXT(marlix_medium_name(m, text, sizeof text), text, "Film");
    CHECK_EACH(MARLIX_ERR_MEDIUM, marlix_medium_find("Nothing", &m),
               marlix_medium_name(41, text, sizeof text));
    /* Medium 2 (Film) of an ink label is the lab's film (10, LabFilm). */
    CHECK(marlix_medium_id_read("2", 18, &id) == MARLIX_OK && id.medium == 10 &&
          id.generation == 1);
    id.medium = id.generation = 0;
    CHECK(marlix_medium_id_read("2", -1, &id) == MARLIX_OK && id.medium == 2 && id.generation == 1);
    CHECK(marlix_edit_label_new(9, id, &edit) == MARLIX_ERR_LABEL_TYPE);
    id.medium = id.generation = 2;
    CHECK_TEXT(marlix_medium_roll_keep_string(id, "A001", text, sizeof text), text,
               "REV:1 MediumRollId:2,2 reelid:A001");
    CHECK_TEXT(marlix_medium_roll_read(text, &id, reel, sizeof reel), reel, "A001");
    CHECK_EACH(MARLIX_ERR_UNREADABLE, marlix_medium_id_read("junk", -1, &id),
               marlix_medium_roll_read("junk", &id, reel, sizeof reel));
    CHECK_EACH(MARLIX_ERR_ARGUMENT, marlix_medium_find(NULL, &m), marlix_medium_find("film", NULL),
               marlix_medium_id_read(NULL, -1, &id), marlix_medium_id_read("2,1", -1, NULL),
               marlix_medium_roll_read(NULL, &id, reel, sizeof reel),
               marlix_medium_roll_read(text, NULL, reel, sizeof reel));
    /* Any medium, any generation accepts every identity, and nothing that
     * is not one. */
    CHECK(marlix_medium_id_fits(id, id) == 1 && marlix_medium_id_fits(any, id) == 1);
    CHECK_EACH(0, marlix_medium_id_fits(any, bad_generation),
               marlix_medium_id_fits(bad_medium, id));
    id.generation = 0; /* no generation */
    CHECK_TEXT(marlix_medium_id_text(id, text, sizeof text), text, "2,0");
    FOR_TABLE(bad_ids)
    CHECK_EACH(MARLIX_ERR_ARGUMENT, marlix_medium_id_text(bad_ids[row], text, sizeof text),
               marlix_medium_id_user_text(bad_ids[row], text, sizeof text),
               marlix_medium_roll_keep_string(bad_ids[row], "r", text, sizeof text),
               marlix_edit_label_new(5, bad_ids[row], &edit));
    /* Every name and identity text fits its size; the row is medium * 6 +
     * generation. */
    FOR_ROWS(0, 40) CHECK(marlix_medium_name(row, name, sizeof name) != MARLIX_ERR_TRUNCATED);
    FOR_ROWS(0, 41 * 6 - 1) {
        id.medium     = row / 6;
        id.generation = row % 6;
        CHECK_EACH(MARLIX_OK, marlix_medium_id_user_text(id, name, MARLIX_IDENTITY_TEXT_SIZE),
                   marlix_medium_id_text(id, name, MARLIX_IDENTITY_TEXT_SIZE));
    }
}

/* Translations between media, each switch of a project and of a
 * translation's parameters heard, and each range refused one past its ends. */
static void translation(void) {
    static const struct {
        int32_t frame_rate, camera_speed, output_rate;
        double cel_resolution;
        marlix_status status;
    } projects[] = {
        {3, 6, 5, 2.5, MARLIX_OK},
        {3, 6, 5, 0.0, MARLIX_OK},
        {3, 6, 5, -0.5, MARLIX_ERR_ARGUMENT},
        {3, 6, 5, NAN, MARLIX_ERR_ARGUMENT},
        {3, 77, 5, 0.0, MARLIX_ERR_ARGUMENT},
        {3, 6, 77, 0.0, MARLIX_ERR_ARGUMENT},
        {77, 6, 5, 0.0, MARLIX_ERR_ARGUMENT},
    };
    marlix_project project, saved, back;
    marlix_xlate_params params;
    int32_t film = 0, v30i = 0, v25i = 0, p25 = 0, audio = 0, cel = 0, drop = 0;
    double r = 0, r0 = 0;
    CHECK_EACH(MARLIX_OK, marlix_medium_find("Film", &film), marlix_medium_find("30i", &v30i),
               marlix_medium_find("25i", &v25i), marlix_medium_find("Playout25p", &p25),
               marlix_medium_find("Audio", &audio), marlix_medium_find("TOVCel", &cel));
    CHECK(marlix_xlate(1.0, film, v30i, NULL, NULL, &r) == MARLIX_OK && r == 0.8);
    CHECK(marlix_project_get(&saved) == MARLIX_OK);
    CHECK(marlix_project_default(&project) == MARLIX_OK);
    CHECK(marlix_rate_find("25", &project.frame_rate, &drop) == MARLIX_OK && drop == 0);
    project.output_rate = project.frame_rate;
    CHECK(marlix_xlate_params_init(&params) == MARLIX_OK);
    params.sequence = -1; /* unset: the translation takes phase 0 */
    /* Settings for this call alone; the current project stays. */
    CHECK(marlix_xlate(1.0, p25, audio, &params, &project, &r) == MARLIX_OK &&
          fabs(r - 1.0416666666666667) < 1e-15);
    CHECK(marlix_project_get(&project) == MARLIX_OK && project.frame_rate == saved.frame_rate);
    /* Every switch reads back as it was set, each way. */
    FOR_ROWS(0, 15) {
        project.drop_frame             = row & 1;
        project.output_interlaced      = row >> 1 & 1;
        project.output_pulled_down     = row >> 2 & 1;
        project.audio_sync_pulled_down = row >> 3 & 1;
        CHECK(marlix_project_set(&project) == MARLIX_OK);
        CHECK(marlix_project_get(&back) == MARLIX_OK && back.drop_frame == (row & 1) &&
              back.output_interlaced == (row >> 1 & 1) &&
              back.output_pulled_down == (row >> 2 & 1) && back.audio_sync_pulled_down == row >> 3);
    }
    CHECK(marlix_project_set(&saved) == MARLIX_OK);
    marlix_set_diagnostic_sink(count_message, &messages);
    CHECK(marlix_xlate(1e300, film, v30i, NULL, NULL, &r) == MARLIX_ERR_NO_TRANSLATION &&
          r == 1e99);
    CHECK(messages == 1);
    marlix_set_diagnostic_sink(NULL, NULL);
    CHECK_EACH(MARLIX_ERR_MEDIUM, marlix_xlate(1.0, 41, film, NULL, NULL, &r),
               marlix_xlate(1.0, film, -1, NULL, NULL, &r),
               marlix_xlate(1.0, film, 41, NULL, NULL, &r));
    params.sequence = -2;
    CHECK(marlix_xlate(1.0, film, v30i, &params, NULL, &r) == MARLIX_ERR_ARGUMENT);
    CHECK(marlix_rate_find("29.97df", &project.frame_rate, &drop) == MARLIX_OK && drop == 1 &&
          project.frame_rate == 5);
    CHECK(marlix_rate_find("#0", &project.frame_rate, NULL) == MARLIX_ERR_RATE);
    CHECK_EACH(MARLIX_ERR_ARGUMENT, marlix_rate_find(NULL, &project.frame_rate, NULL),
               marlix_rate_find("25", NULL, NULL));

    CHECK(marlix_xlate_params_init(&params) == MARLIX_OK);
    params.transfer = 2; /* 24 into 25: an odd field count to round */
    CHECK(marlix_xlate(1.5, film, v25i, &params, NULL, &r) == MARLIX_OK && r == 1.5);
    params.round_to_frame = 1;
    CHECK(marlix_xlate(1.5, film, v25i, &params, NULL, &r) == MARLIX_OK && fabs(r - 1.52) < 1e-12);
    params.video_medium = -2;
    CHECK(marlix_xlate(1.5, film, v25i, &params, NULL, &r) == MARLIX_ERR_MEDIUM);
    /* A 25 video project shoots on a 24p medium only from a 24p source. */
    CHECK(marlix_project_default(&project) == MARLIX_OK &&
          marlix_rate_find("25", &project.frame_rate, NULL) == MARLIX_OK);
    project.output_rate = project.frame_rate;
    CHECK(marlix_xlate_params_init(&params) == MARLIX_OK &&
          marlix_medium_find("24p", &params.video_medium) == MARLIX_OK);
    CHECK(marlix_xlate(1.2, cel, film, &params, &project, &r) == MARLIX_ERR_NO_TRANSLATION);
    params.source_24p = 1;
    CHECK(marlix_xlate(1.2, cel, film, &params, &project, &r) == MARLIX_OK && r == 1.25);
    params.video_medium = 0; /* None stands for no medium, not for the project's */
    CHECK(marlix_xlate(1.2, cel, film, &params, &project, &r) == MARLIX_ERR_NO_TRANSLATION);
    params.video_medium = -1;
    CHECK(marlix_xlate(1.2, cel, film, &params, &project, &r) == MARLIX_OK && r == 1.25);

    FOR_TABLE(projects) {
        CHECK(marlix_project_default(&project) == MARLIX_OK);
        project.frame_rate     = projects[row].frame_rate;
        project.camera_speed   = projects[row].camera_speed;
        project.output_rate    = projects[row].output_rate;
        project.cel_resolution = projects[row].cel_resolution;
        CHECK(marlix_project_set(&project) == projects[row].status);
        if (projects[row].status != MARLIX_OK) /* and as one call's settings */
            CHECK(marlix_xlate(1.0, film, v30i, NULL, &project, &r) == projects[row].status);
        else
            CHECK(marlix_project_get(&back) == MARLIX_OK && back.frame_rate == 3 &&
                  back.camera_speed == 6 && back.output_rate == 5 &&
                  back.cel_resolution == projects[row].cel_resolution);
    }
    CHECK(marlix_project_set(&saved) == MARLIX_OK);
    CHECK_EACH(MARLIX_ERR_ARGUMENT, marlix_project_get(NULL), marlix_project_set(NULL),
               marlix_project_default(NULL), marlix_xlate_params_init(NULL),
               marlix_xlate(1.0, film, v30i, NULL, NULL, NULL));
    params.transfer = params.sequence = params.transfer_rate = params.video_medium = 9;
    params.source_24p = params.round_to_frame = 9;
    CHECK(marlix_xlate_params_init(&params) == MARLIX_OK && params.transfer == 3 &&
          params.sequence == 0 && params.transfer_rate == 0 && params.video_medium == -1 &&
          params.source_24p == 0 && params.round_to_frame == 0);
    /* A transfer at 29.97 runs sound 1000/1001 slower than one at 30. */
    params.transfer = 0;
    CHECK(marlix_xlate(1.0, audio, cel, &params, NULL, &r0) == MARLIX_OK);
    params.transfer_rate = 5;
    CHECK(marlix_xlate(1.0, audio, cel, &params, NULL, &r) == MARLIX_OK &&
          fabs(r0 / r - 1.001) < 1e-12);
    params.transfer_rate = 77;
    CHECK(marlix_xlate(1.0, audio, cel, &params, NULL, &r) == MARLIX_ERR_ARGUMENT);
    CHECK(marlix_xlate_params_init(&params) == MARLIX_OK);
    params.sequence = 255;
    CHECK(marlix_xlate(1.0, film, v30i, &params, NULL, &r) == MARLIX_OK);
    params.sequence = 256;
    CHECK(marlix_xlate(1.0, film, v30i, &params, NULL, &r) == MARLIX_ERR_ARGUMENT);
    params.sequence     = 0;
    params.video_medium = 41;
    CHECK(marlix_xlate(1.0, film, v30i, &params, NULL, &r) == MARLIX_ERR_MEDIUM);
    CHECK(marlix_xlate(1.0, -1, film, NULL, NULL, &r) == MARLIX_ERR_MEDIUM &&
          marlix_xlate(1.0, film, 0, NULL, NULL, &r) != MARLIX_ERR_MEDIUM &&
          marlix_xlate(1.0, 0, film, NULL, NULL, &r) != MARLIX_ERR_MEDIUM &&
          marlix_xlate(1.0, 40, film, NULL, NULL, &r) != MARLIX_ERR_MEDIUM);
}

/* What the legacy calls write, each out value from a value it could not
 * have kept, and what they refuse. */
static void legacy(void) {
    char text[MARLIX_LEGACY_TEXT_SIZE] = "x";
    int32_t f = -9, foot = -9, phase = -9, code = -9;
    CHECK(marlix_legacy_label_to_frames("00000400", 26, 0, 0, 0, 0, 1, 0, &f, &foot, &phase,
                                        &code) == MARLIX_OK &&
          f == 87 && foot == 3 && phase == -1 && code == 1);
    f = foot = phase = code = -9;
    CHECK(marlix_legacy_label_to_frames("00010+05", 8, 0, 0, 2, 16, 1, 0, &f, &foot, &phase,
                                        &code) == MARLIX_ERR_REFUSED &&
          f == -9 && foot == -9 && phase == -9 && code == -9);
    CHECK(marlix_legacy_label_plus_frames("00000101", 24, 2, 0, 0, 2, 0, 0, 1, 0, text, sizeof text,
                                          &foot, &phase, &code) == MARLIX_ERR_REFUSED &&
          same(text, "x") && foot == -9 && phase == -9 && code == -9);
    CHECK(marlix_legacy_label_plus_frames("00000101", 24, 2, 0, 0, 0, 0, 0, 1, 0, text, sizeof text,
                                          &foot, &phase, &code) == MARLIX_OK &&
          same(text, "00000200") && foot == 0 && phase == 0 && code == 1);
    CHECK_TEXT(marlix_legacy_timecode(1000, 2, 0, text, sizeof text), text, "00003924");
    /* Pulldown 4 into 5 takes 4 film frames to 5 video. */
    f = phase = code = -9;
    CHECK(marlix_legacy_video_to_film(10, 1, 0, &f, &phase, &code) == MARLIX_OK && f == 8 &&
          phase == 1 && code == 1);
    code = 0;
    CHECK(marlix_legacy_film_to_video(8, 1, 0, -1, &f, &code) == MARLIX_OK && f == 10 && code == 1);
    CHECK(marlix_legacy_video_to_film(10, 1, 0, &f, NULL, NULL) == MARLIX_OK && f == 8);
    CHECK_EACH(MARLIX_ERR_REFUSED, marlix_legacy_timecode(1000, 99, 0, text, sizeof text),
               marlix_legacy_video_to_film(10, 99, 0, &f, NULL, NULL),
               marlix_legacy_film_to_video(10, 99, 0, -1, &f, NULL));
    CHECK_EACH(
        MARLIX_ERR_ARGUMENT, marlix_legacy_video_to_film(10, 3, 0, NULL, NULL, NULL),
        marlix_legacy_film_to_video(8, 1, 0, -1, NULL, NULL),
        marlix_legacy_label_to_frames(NULL, 8, 0, 0, 0, 16, 1, 0, &f, NULL, NULL, NULL),
        marlix_legacy_label_to_frames("00010+05", 8, 0, 0, 0, 16, 1, 0, NULL, NULL, NULL, NULL),
        marlix_legacy_label_plus_frames(NULL, 24, 2, 0, 0, 0, 0, 0, 1, 0, text, sizeof text, NULL,
                                        NULL, NULL),
        marlix_legacy_label_plus_frames("00000101", 24, 2, 0, 0, 0, 0, 0, 1, 0, NULL, 9, NULL, NULL,
                                        NULL));
}

static void timecode(void) {
    const int64_t limit = (int64_t)1 << 61;
    marlix_tc_rate df, film, pal, odd = {7, 1, 0};
    int32_t frames     = 0;
    int64_t film_frame = 0;
    int32_t split      = 0;
    char text[32];
    CHECK(marlix_tc_rate_find("29.97df", &df) == MARLIX_OK && df.drop == 1);
    CHECK(strncmp(marlix_tc_rate_names(), "23.976 24 25 29.97 29.97df 30 ", 30) == 0);
    CHECK_EACH(MARLIX_OK, marlix_tc_rate_find("23.976", &film), marlix_tc_rate_find("25", &pal));
    CHECK(marlix_tc_read("24:00:00:00", film, 0, &frames) == MARLIX_ERR_TC_FIELD_RANGE);
    CHECK(marlix_tc_read("24:00:00:00", film, 1, &frames) == MARLIX_OK && frames == 24 * 86400);
    CHECK_TEXT(marlix_tc_write(1800, df, 1, text, sizeof text), text, "00:01:00;02");
    /* A day and a second: the day wraps only when asked. */
    CHECK_TEXT(marlix_tc_write(24 * 86401, film, 1, text, sizeof text), text, "00:00:01:00");
    CHECK_TEXT(marlix_tc_write(24 * 86401, film, 0, text, sizeof text), text, "24:00:01:00");
    CHECK(marlix_tc_write(INT_MIN, df, 0, text, MARLIX_TC_TEXT_SIZE) == MARLIX_OK);
    CHECK(marlix_tc_add(2147483647, df, 1, 0, &frames) == MARLIX_ERR_TC_OUT_OF_RANGE);
    /* The clock of a day: additions wrap, durations run across midnight. */
    CHECK(marlix_tc_add(60, df, -125, 1, &frames) == MARLIX_OK && frames == 2589408 - 65);
    CHECK(marlix_tc_add(60, df, -125, 0, &frames) == MARLIX_OK && frames == -65);
    CHECK(marlix_tc_duration(2588958, 150, df, 0, &frames) == MARLIX_OK && frames == 600);
    CHECK(marlix_tc_duration(2588958, 150, df, 1, &frames) == MARLIX_OK && frames == -2588808);
    /* Film frames to video: methods 0..2, and one past each end. */
    FOR_ROWS(-1, 3) {
        frames = -9;
        CHECK(marlix_tc_convert(24, film, df, row, 0, 0, &frames) ==
                  (row < 0 || row > 2 ? MARLIX_ERR_ARGUMENT : MARLIX_OK) &&
              frames == (row < 0 || row > 2 ? -9
                         : row == 1         ? 24
                                            : 30));
    }
    CHECK(marlix_tc_pull(2, df, &film_frame, &split) == MARLIX_OK && film_frame == 1 && split == 1);
    CHECK(marlix_tc_pull(1, df, &film_frame, &split) == MARLIX_OK && film_frame == 1 && split == 0);
    /* Video frames run to +-2^61, at the rates that pull by fields too. */
    CHECK_EACH(MARLIX_OK, marlix_tc_pull(limit, df, &film_frame, &split),
               marlix_tc_pull(-limit, pal, &film_frame, &split));
    CHECK_EACH(
        MARLIX_ERR_ARGUMENT, marlix_tc_pull(limit + 1, df, &film_frame, &split),
        marlix_tc_pull(-limit - 1, pal, &film_frame, &split), marlix_tc_pull(0, df, NULL, NULL),
        marlix_tc_add(0, df, 1, 0, NULL), marlix_tc_duration(0, 1, film, 0, NULL),
        marlix_tc_convert(24, film, df, 0, 0, 0, NULL), marlix_tc_read(NULL, film, 0, &frames),
        marlix_tc_read("00:00:00:00", film, 0, NULL), marlix_tc_write(0, df, 1, text, 0));
    CHECK_EACH(MARLIX_ERR_TC_UNKNOWN_RATE, marlix_tc_write(0, odd, 0, text, sizeof text),
               marlix_tc_add(0, odd, 1, 0, &frames), marlix_tc_duration(0, 1, odd, 0, &frames));
    CHECK_EACH(MARLIX_ERR_ARGUMENT, marlix_tc_rate_find(NULL, &film),
               marlix_tc_rate_find("24", NULL));
    CHECK(marlix_tc_rate_find("31", &film) == MARLIX_ERR_TC_UNKNOWN_RATE);
}

/* Cadence shapes and frames, and the raw look-ups' arguments; 24:25p is
 * cadence 0 (25 units a group of 24 film frames), so only its forward
 * look-up can leave 64 bits. */
static void cadences(void) {
    static const int32_t shapes[][5] = {{0, 24, 25, 0, 25}, {7, 8, 10, 1, 5}};
    static const struct {
        int32_t cadence, row;
        int64_t n;
        int forward;
        marlix_status status;
        int64_t answer;
    } rows[] = {
        {0, 0, 24, 1, MARLIX_OK, 25},
        {0, 255, 0, 1, MARLIX_OK, 0}, /* a row past the table reads 0 */
        {0, 0, INT64_MAX, 0, MARLIX_OK, INT64_MAX / 25 * 24 + 7},
        {0, 0, INT64_MAX, 1, MARLIX_ERR_ARGUMENT, 0},
        {0, 0, -1, 1, MARLIX_ERR_ARGUMENT, 0},
        {0, -1, 0, 0, MARLIX_ERR_ARGUMENT, 0},
        {0, 256, 0, 0, MARLIX_ERR_ARGUMENT, 0},
        {-1, 0, 0, 1, MARLIX_ERR_ARGUMENT, 0},
        {8, 0, 0, 0, MARLIX_ERR_ARGUMENT, 0},
    };
    static const char expected[] = "AABBBCCDDD";
    int32_t cadence = 0, f = 0, s[4] = {-9, -9, -9, -9};
    CHECK(marlix_cadence_find("24:30i", &cadence) == MARLIX_OK);
    FOR_TABLE(shapes)
    CHECK(marlix_cadence_shape(shapes[row][0], &s[0], &s[1], &s[2], &s[3]) == MARLIX_OK &&
          s[0] == shapes[row][1] && s[1] == shapes[row][2] && s[2] == shapes[row][3] &&
          s[3] == shapes[row][4]);
    FOR_ROWS(0, 9)
    CHECK(marlix_cadence_frame(cadence, 0, row, &f) == MARLIX_OK && f == expected[row] - 'A');
    CHECK(marlix_cadence_find("24:29i", &cadence) == MARLIX_ERR_UNREADABLE);
    CHECK_EACH(MARLIX_ERR_ARGUMENT, marlix_cadence_find(NULL, &cadence),
               marlix_cadence_find("24:30i", NULL));
    CHECK(marlix_cadence_frame(cadence, 4, 0, &f) == MARLIX_OK);
    CHECK_EACH(MARLIX_ERR_ARGUMENT, marlix_cadence_frame(cadence, 5, 0, &f),
               marlix_cadence_frame(8, 0, 0, &f), marlix_cadence_frame(1, -1, 0, &f),
               marlix_cadence_frame(1, 0, -1, &f), marlix_cadence_frame(1, 0, 0, NULL),
               marlix_cadence_shape(8, &s[0], NULL, NULL, NULL),
               marlix_cadence_shape(-1, &s[0], NULL, NULL, NULL),
               marlix_cadence_forward(0, 0, 0, NULL));
    FOR_TABLE(rows) {
        int64_t out = 0;
        marlix_status const status =
            rows[row].forward
                ? marlix_cadence_forward(rows[row].cadence, rows[row].row, rows[row].n, &out)
                : marlix_cadence_inverse(rows[row].cadence, rows[row].row, rows[row].n, &out);
        CHECK(status == rows[row].status && out == rows[row].answer);
    }
}

/* Each status has a text of its own; any other int is unknown. */
static void status_texts(void) {
    static const int far[] = {INT_MIN, INT_MAX};
    int t;
    FOR_ROWS(-1, 64) {
        const int known = (row >= MARLIX_OK && row <= MARLIX_ERR_NOT_KEPT) ||
                          (row >= MARLIX_ERR_TC_EMPTY && row <= MARLIX_ERR_TC_NO_PULLDOWN);
        CHECK(same(marlix_status_text(row), "an unknown status") == !known);
        for (t = 0; known && t < row; ++t)
            CHECK(!same(marlix_status_text(row), marlix_status_text(t)));
    }
    FOR_TABLE(far) CHECK(same(marlix_status_text(far[row]), "an unknown status"));
    CHECK(same(marlix_status_text(MARLIX_ERR_TC_NO_PULLDOWN),
               "no pulldown cadence between these rates"));
}

/* A list read, its edits and findings seen, and written back canonically;
 * counts in each reading mode, every text of an edit, and a warning. */
static void edit_decision_lists(void) {
    static const char list[] =
        "TITLE: C\r\nFCM: DROP FRAME\r\n"
        "001 A001 AA/V C 01:49:40:00 01:49:41:00 01:49:40:00 01:49:41:00\r\n"
        "* FROM CLIP NAME: one\r\n"
        "002 A002 V C 01:00:00:00 01:00:00:12 01:49:41:00 01:49:42:00\r\n"
        "003 A003 V C 01:00:00:00 01:00:02:00 01:49:42:00 01:49:43:00\r\n"
        "M2 A003 060.0 01:00:00:00\r\n";
    static const char two_errors[] =
        "001 AX V C 01:00:00:00 01:00:00:10 01:00:00:00 01:00:00:20\n"
        "002 BX V C 01:00:00:10 01:00:01:00 01:00:00:20 01:00:02:00\n";
    static const char mixed[] =
        "TITLE: D\n001 AX V C 01:00:00:00 01:00:00:00 01:00:00:00 01:00:00:00\n"
        "001 BX V D 010 01:00:00:00 01:00:01:00 01:00:00:00 01:00:01:00\n"
        "* TO CLIP NAME: two\n* KEY CLIP NAME: k\n* SOURCE FILE: f.mov\n"
        "HELLO THERE\n"
        "002 CX A2 C 01:00:01:00 01:00:02:00 01:00:01:00 01:00:02:00\n";
    static const char* const texts[] = {"BX", "", "two", "k", "f.mov", "V", "D"};
    marlix_tc_rate rate;
    marlix_edl* doc = NULL;
    marlix_edl_edit edit;
    marlix_edl_finding finding;
    marlix_edl_rounding rounding;
    size_t edits = 0, findings = 0, errors = 0, needed = 0;
    char text[512], small[8];
    CHECK(marlix_tc_rate_find("29.97", &rate) == MARLIX_OK);
    CHECK(marlix_edl_read(list, sizeof list - 1, rate, 0, &doc) == MARLIX_OK && doc != NULL);
    CHECK(marlix_edl_counts(doc, &edits, &findings, &errors) == MARLIX_OK && edits == 3 &&
          findings == 1 && errors == 1);
    CHECK(marlix_edl_edit_at(doc, 0, &edit) == MARLIX_OK);
    CHECK(edit.event == 1 && edit.line == 3 && edit.record_in == 197202 && edit.rate.drop == 1);
    CHECK(edit.video == 1 && edit.audio_low == 3u && edit.has_speed == 0);
    CHECK(marlix_edl_edit_at(doc, 2, &edit) == MARLIX_OK);
    CHECK(edit.has_speed == 1 && edit.speed_tenths == 600 && edit.speed_entry == 107892);
    CHECK(marlix_edl_finding_at(doc, 0, &finding, text, sizeof text) == MARLIX_OK);
    CHECK(finding.line == 5 && finding.event == 2 && finding.error == 1);
    CHECK(same(text, "source length 12 differs from record length 30, and no M2 explains it"));
    /* Indexes one past the end, and each pointer refused alone where the
     * index is good. */
    CHECK_EACH(MARLIX_ERR_ARGUMENT, marlix_edl_edit_at(doc, 3, &edit),
               marlix_edl_edit_text(doc, 3, MARLIX_EDL_CLIP, text, sizeof text),
               marlix_edl_finding_at(doc, 1, &finding, text, sizeof text),
               marlix_edl_edit_at(NULL, 0, &edit), marlix_edl_edit_at(doc, 0, NULL),
               marlix_edl_edit_text(NULL, 0, MARLIX_EDL_CLIP, text, sizeof text),
               marlix_edl_finding_at(NULL, 0, &finding, NULL, 0),
               marlix_edl_finding_at(doc, 0, NULL, NULL, 0),
               marlix_edl_rounding_count(NULL, &needed), marlix_edl_rounding_count(doc, NULL));
    CHECK(marlix_edl_write(doc, text, sizeof text, &needed) == MARLIX_OK &&
          needed == strlen(text) + 1);
    CHECK(strstr(text, "001  A001     AA/V  C        01:49:40;00 01:49:41;00") != NULL);
    CHECK(marlix_edl_write(doc, small, sizeof small, NULL) == MARLIX_ERR_TRUNCATED &&
          same(small, "TITLE: "));
    marlix_edl_free(doc);
    rate.num = 7;
    CHECK(marlix_edl_read(list, sizeof list - 1, rate, 0, &doc) == MARLIX_ERR_TC_UNKNOWN_RATE &&
          doc == NULL);
    CHECK(marlix_edl_read(NULL, 3, rate, 0, &doc) == MARLIX_ERR_ARGUMENT);
    marlix_edl_free(NULL);

    CHECK(marlix_tc_rate_find("25", &rate) == MARLIX_OK);
    FOR_ROWS(0, 1) { /* read on and report both, or stop at the first */
        CHECK(marlix_edl_read(two_errors, sizeof two_errors - 1, rate, row ? MARLIX_EDL_STRICT : 0,
                              &doc) == MARLIX_OK);
        CHECK(marlix_edl_counts(doc, &edits, &findings, &errors) == MARLIX_OK && edits == 2 &&
              findings == (size_t)(2 - row) && errors == (size_t)(2 - row));
        marlix_edl_free(doc);
    }
    CHECK(marlix_edl_read(mixed, sizeof mixed - 1, rate, 0, &doc) == MARLIX_OK);
    CHECK(marlix_edl_counts(doc, &edits, &findings, &errors) == MARLIX_OK && edits == 3 &&
          findings == 1 && errors == 0);
    CHECK(marlix_edl_edit_at(doc, 1, &edit) == MARLIX_OK && edit.transition == 1 &&
          edit.transition_frames == 10 && edit.video == 1 && edit.fade == 0 &&
          edit.rate.num == 25 && edit.rate.drop == 0 && edit.has_speed == 0 &&
          edit.speed_tenths == 0 && edit.speed_entry == 0);
    FOR_TABLE(texts)
    CHECK_TEXT(marlix_edl_edit_text(doc, 1, row, text, sizeof text), text, texts[row]);
    CHECK(marlix_edl_edit_at(doc, 2, &edit) == MARLIX_OK && edit.video == 0 &&
          edit.audio_low == 2u && edit.transition == 0 && edit.transition_frames == 0);
    CHECK(marlix_edl_finding_at(doc, 0, &finding, NULL, 0) == MARLIX_OK && finding.line == 7 &&
          finding.error == 0 && same(marlix_edl_finding_name(finding.kind), "unknown_line"));
    CHECK_EACH(MARLIX_ERR_ARGUMENT, marlix_edl_edit_text(doc, 1, 7, text, sizeof text),
               marlix_edl_edit_text(doc, 1, -1, text, sizeof text),
               marlix_edl_finding_at(doc, 0, &finding, NULL, 5),
               marlix_edl_counts(NULL, &edits, NULL, NULL),
               marlix_edl_write(NULL, text, sizeof text, NULL),
               marlix_edl_rounding_at(NULL, 0, &rounding),
               marlix_edl_read(mixed, sizeof mixed - 1, rate, 0, NULL));
    marlix_edl_free(doc);
    doc = NULL;
    CHECK(marlix_edl_read(NULL, 0, rate, 0, &doc) == MARLIX_OK && doc != NULL &&
          marlix_edl_counts(doc, &edits, NULL, NULL) == MARLIX_OK && edits == 0);
    marlix_edl_free(doc);
}

/* A list converted in real time, its rounding report, and refusals by
 * name, with the numbers of the reasons past both ends. */
static void edit_decision_list_conversion(void) {
    static const char list[] =
        "001 AX V C 01:00:00:00 01:00:00:10 01:00:00:00 01:00:00:10\n"
        "002 BX V C 01:00:00:10 01:00:01:00 01:00:00:10 01:00:01:00\n";
    static const struct {
        int32_t reason;
        const char* name;
    } reasons[] = {{-1, "unknown"}, {0, "none"}, {9, "speed_too_fast"}, {10, "unknown"}};
    marlix_tc_rate rate;
    marlix_edl *doc = NULL, *out = NULL;
    marlix_edl_convert_options options;
    marlix_edl_refusal refusal;
    marlix_edl_rounding rounding;
    marlix_edl_edit edit;
    marlix_edl_reel_sync const syncs[] = {{"AX", 0, 0}, {"BX", 0, 0}};
    size_t count                       = 0;
    char text[128];
    FOR_TABLE(reasons)
    CHECK(same(marlix_edl_convert_error_name(reasons[row].reason), reasons[row].name));
    memset(&options, 0, sizeof options);
    CHECK(marlix_tc_rate_find("25", &rate) == MARLIX_OK);
    CHECK(marlix_edl_read(list, sizeof list - 1, rate, 0, &doc) == MARLIX_OK);
    CHECK(marlix_tc_rate_find("24", &options.to) == MARLIX_OK);
    options.method = 0;
    CHECK(marlix_edl_convert(doc, &options, &out, &refusal, text, sizeof text) == MARLIX_OK);
    CHECK(refusal.reason == 0 && refusal.event == -1 && refusal.line == 0 && same(text, ""));
    CHECK(marlix_edl_edit_at(out, 1, &edit) == MARLIX_OK);
    CHECK(edit.record_in == 86409 && edit.record_out == 86424 && edit.source_out == 86424);
    CHECK(marlix_edl_rounding_count(out, &count) == MARLIX_OK && count == 2);
    CHECK(marlix_edl_rounding_at(out, 0, &rounding) == MARLIX_OK);
    CHECK(rounding.event == 1 && rounding.line == 1 && rounding.before == 10 &&
          rounding.after == 9 && rounding.exact_num == 48 && rounding.exact_den == 5);
    CHECK_EACH(MARLIX_ERR_ARGUMENT, marlix_edl_rounding_at(out, 2, &rounding),
               marlix_edl_rounding_at(out, 0, NULL));
    marlix_edl_free(out);
    options.method = 2;
    CHECK(marlix_tc_rate_find("29.97", &options.to) == MARLIX_OK);
    marlix_edl_free(doc);
    CHECK(marlix_tc_rate_find("23.976", &rate) == MARLIX_OK);
    CHECK(marlix_edl_read(list, sizeof list - 1, rate, 0, &doc) == MARLIX_OK);
    options.reel_syncs      = syncs;
    options.reel_sync_count = 1;
    CHECK(marlix_edl_convert(doc, &options, &out, &refusal, text, sizeof text) ==
              MARLIX_ERR_REFUSED &&
          out == NULL);
    CHECK(same(marlix_edl_convert_error_name(refusal.reason), "no_reel_sync") &&
          refusal.event == 2 && refusal.line == 2);
    CHECK(same(text, "reel BX has no pulldown sync (give one, or keep the sources)"));
    /* A one-byte message buffer still takes the message's (cut) end. */
    text[0] = 'x';
    CHECK(marlix_edl_convert(doc, &options, &out, NULL, text, 1) == MARLIX_ERR_REFUSED && !*text);
    options.keep_sources = 1;
    CHECK(marlix_edl_convert(doc, &options, &out, NULL, NULL, 0) == MARLIX_OK);
    marlix_edl_free(out);
    /* Arguments that cannot be: each alone is refused. */
    CHECK(marlix_edl_convert(doc, &options, &out, NULL, NULL, 5) == MARLIX_ERR_ARGUMENT);
    options.reel_syncs = NULL;
    CHECK(marlix_edl_convert(doc, &options, &out, NULL, NULL, 0) == MARLIX_ERR_ARGUMENT);
    options.reel_sync_count = 0;
    options.method          = -2;
    CHECK(marlix_edl_convert(doc, &options, &out, NULL, NULL, 0) == MARLIX_ERR_ARGUMENT);
    options.method = 3;
    CHECK(marlix_edl_convert(doc, &options, &out, NULL, NULL, 0) == MARLIX_ERR_ARGUMENT);
    options.method = 0;
    CHECK_EACH(MARLIX_ERR_ARGUMENT, marlix_edl_convert(NULL, &options, &out, NULL, NULL, 0),
               marlix_edl_convert(doc, NULL, &out, NULL, NULL, 0),
               marlix_edl_convert(doc, &options, NULL, NULL, NULL, 0));
    marlix_edl_free(doc);
}

/* A list matched back through a log: the cut's key numbers and length at
 * 29.97 (90 video frames, 72 film frames), and what is missing; the film
 * options' ends, each text field of a cut, a sound row with no Soundroll,
 * and the texts asked into a buffer of no bytes. */
static void film_lists(void) {
    static const char log[] =
        "Heading\nFILM_FORMAT\t35mm, 4 perf\nFPS\t29.97\nColumn\n"
        "Name\tTape\tStart\tEnd\tKN Start\tPullin\nData\n"
        "a\tT1\t01:00:00:00\t01:00:20:00\tKU2290121000+00\tA\n";
    static const char list[] =
        "001 T1 V C 01:00:01:00 01:00:04:00 01:00:00:00 01:00:03:00\n"
        "002 T2 V C 01:00:01:00 01:00:04:00 01:00:03:00 01:00:06:00\n";
    static const char bad_log[] =
        "Heading\nFPS\t29.97\nColumn\nName\tTape\tStart\tEnd\tPullin\nData\n"
        "b\tT3\t01:00:00:00\t01:00:20:00\tQ\n";
    static const char pal_log[] =
        "Heading\nFILM_FORMAT\t35mm, 4 perf\nFPS\t25\nColumn\n"
        "Name\tTape\tStart\tEnd\tKN Start\nData\n"
        "p\tT1\t01:00:00:00\t01:00:20:00\tKU2290121000+00\n";
    static const char pal_list[] = "001 T1 V C 01:00:01:00 01:00:04:00 01:00:00:00 01:00:03:00\n";
    static const struct {
        int32_t stock;
        marlix_status status;
    } stocks[]             = {{10, MARLIX_OK},
                              {42, MARLIX_ERR_LABEL_TYPE},
                              {-1, MARLIX_ERR_LABEL_TYPE},
                              {5, MARLIX_ERR_LABEL_TYPE}}; /* a timecode type: no stock */
    const char* logs[]     = {log, NULL};
    const char* pal_logs[] = {pal_log};
    const char* none[]     = {NULL};
    size_t sizes[] = {sizeof log - 1, 0}, pal_sizes[] = {sizeof pal_log - 1}, zero[] = {0},
           one[] = {1};
    marlix_film_piece pull;
    size_t log_index            = 0;
    uint32_t line               = 0;
    marlix_film_options options = {0, 0, 768};
    marlix_film_lists* lists    = NULL;
    marlix_film_cut cut;
    marlix_film_sound sound;
    marlix_tc_rate rate, odd = {7, 1, 0};
    size_t cuts = 0, pulls = 0, missing = 0, errors = 0;
    int32_t event = 0, kind = -1;
    char text[64];
    CHECK(marlix_tc_rate_find("29.97", &rate) == MARLIX_OK);
    CHECK(marlix_film_lists_make(list, sizeof list - 1, rate, logs, sizes, 1, &options, &lists) ==
              MARLIX_OK &&
          lists != NULL);
    CHECK(marlix_film_lists_counts(lists, &cuts, &pulls, &missing, &errors) == MARLIX_OK);
    CHECK(cuts == 2 && pulls == 1 && missing == 1 && errors == 0);
    CHECK(marlix_film_cut_at(lists, 0, &cut) == MARLIX_OK && cut.matched == 1 && cut.frames == 72 &&
          cut.running_frames == 192 + 72 && cut.adjust == 0);
    CHECK_TEXT(marlix_film_cut_text(lists, 0, MARLIX_FILM_KEY_IN, text, sizeof text), text,
               "KU2290121001+08");
    /* A buffer of no bytes is refused; no buffer at all only asks for the rest. */
    CHECK(marlix_film_missing_at(lists, 0, &event, &kind, NULL, 0) == MARLIX_OK && event == 2);
    CHECK(marlix_film_missing_at(lists, 0, &event, &kind, text, sizeof text) == MARLIX_OK &&
          event == 2 && kind == 0 && same(text, "T2"));
    CHECK(marlix_film_cut_at(lists, 1, &cut) == MARLIX_OK && cut.matched == 0);
    CHECK(marlix_film_piece_at(lists, MARLIX_FILM_PULLS, 0, &pull) == MARLIX_OK &&
          pull.frames == 72 && pull.first_sample == 1001 * 64 + 8 * 4 &&
          pull.last_sample == 1005 * 64 + 15 * 4 && pull.event_count == 1);
    CHECK_TEXT(
        marlix_film_piece_text(lists, MARLIX_FILM_PULLS, 0, MARLIX_FILM_KEY_OUT, text, sizeof text),
        text, "KU2290121005+15");
    CHECK(marlix_film_piece_event(lists, MARLIX_FILM_PULLS, 0, 0, &event) == MARLIX_OK &&
          event == 1);
    CHECK_EACH(
        MARLIX_ERR_ARGUMENT, marlix_film_cut_text(lists, 0, -1, text, sizeof text),
        marlix_film_missing_at(lists, 0, &event, &kind, text, 0),
        marlix_film_cut_at(lists, 2, &cut),
        marlix_film_piece_text(lists, MARLIX_FILM_PULLS, 0, MARLIX_FILM_NOTES, text, sizeof text),
        marlix_film_piece_event(lists, MARLIX_FILM_PULLS, 0, 1, &event),
        marlix_film_piece_at(lists, MARLIX_FILM_PULLS, 1, &pull),
        marlix_film_piece_at(lists, MARLIX_FILM_DUPES + 1, 0, &pull),
        marlix_film_log_error_at(lists, 0, NULL, NULL, NULL, 0));
    marlix_film_lists_free(lists);
    /* A log's errors, with the log and line they stand on. */
    logs[1]  = bad_log;
    sizes[1] = sizeof bad_log - 1;
    CHECK(marlix_film_lists_make(list, sizeof list - 1, rate, logs, sizes, 2, &options, &lists) ==
          MARLIX_OK);
    CHECK(marlix_film_lists_counts(lists, NULL, NULL, NULL, &errors) == MARLIX_OK && errors == 1);
    CHECK(marlix_film_log_error_at(lists, 0, &log_index, &line, text, sizeof text) == MARLIX_OK &&
          log_index == 1 && line == 6 && same(text, "Pullin 'Q' is none of A, B, X, C, D"));
    line = 0; /* the place alone, without the message */
    CHECK(marlix_film_log_error_at(lists, 0, NULL, &line, NULL, 0) == MARLIX_OK && line == 6);
    FOR_ROWS(0, 11)
    CHECK(marlix_film_cut_text(lists, 0, row, text, sizeof text) ==
          (row <= 9 ? MARLIX_OK : MARLIX_ERR_ARGUMENT));
    CHECK(marlix_film_log_error_at(lists, 0, NULL, NULL, text, 0) == MARLIX_ERR_ARGUMENT);
    sound.found = 9;
    CHECK(marlix_film_sound_at(lists, 0, &sound) == MARLIX_OK && sound.found == 0 &&
          sound.rate.num == rate.num && sound.rate.den == rate.den && sound.rate.drop == 0);
    marlix_film_lists_free(lists);
    FOR_TABLE(stocks) { /* a failure leaves the lists null */
        options.stock = stocks[row].stock;
        lists         = (marlix_film_lists*)&cut;
        CHECK(marlix_film_lists_make(list, sizeof list - 1, rate, logs, sizes, 1, &options,
                                     &lists) == stocks[row].status);
        CHECK((lists != NULL) == (stocks[row].status == MARLIX_OK) &&
              lists != (marlix_film_lists*)&cut);
        if (lists != (marlix_film_lists*)&cut) marlix_film_lists_free(lists);
    }
    options.stock = 0;
    CHECK(marlix_film_lists_make(list, sizeof list - 1, odd, logs, sizes, 1, &options, &lists) ==
              MARLIX_ERR_TC_UNKNOWN_RATE &&
          lists == NULL);
    CHECK_EACH(MARLIX_ERR_ARGUMENT,
               marlix_film_lists_make(list, sizeof list - 1, rate, logs, sizes, 1, &options, NULL),
               marlix_film_lists_make(list, sizeof list - 1, rate, NULL, sizes, 1, NULL, &lists));
    /* A null text of no length is an empty one; of some length, refused. */
    CHECK(marlix_film_lists_make(NULL, 0, rate, logs, sizes, 1, NULL, &lists) == MARLIX_OK);
    marlix_film_lists_free(lists);
    CHECK(marlix_film_lists_make(list, sizeof list - 1, rate, none, zero, 1, NULL, &lists) ==
          MARLIX_OK);
    marlix_film_lists_free(lists);
    CHECK_EACH(MARLIX_ERR_ARGUMENT,
               marlix_film_lists_make(NULL, 1, rate, logs, sizes, 1, NULL, &lists),
               marlix_film_lists_make(list, sizeof list - 1, rate, none, one, 1, NULL, &lists));
    marlix_film_lists_free(NULL);
    /* At 25, frame for frame unless the 24:25 cadence is asked for. */
    CHECK(marlix_tc_rate_find("25", &rate) == MARLIX_OK);
    FOR_ROWS(0, 1) {
        options.stock     = 0;
        options.pal_24_25 = row;
        CHECK(marlix_film_lists_make(pal_list, sizeof pal_list - 1, rate, pal_logs, pal_sizes, 1,
                                     &options, &lists) == MARLIX_OK);
        CHECK(marlix_film_cut_at(lists, 0, &cut) == MARLIX_OK && cut.frames == (row ? 72 : 75));
        marlix_film_lists_free(lists);
    }
}

/* The dupe, optical, sound and change rows of a second version: shot 1
 * used again by event 3, a lab dissolve into event 2, and the sound
 * through the log's Sound TC. */
static void film_more_lists(void) {
    static const char log[] =
        "Heading\nFILM_FORMAT\t35mm, 4 perf\nFPS\t24\nColumn\n"
        "Name\tTape\tStart\tEnd\tKN Start\tSoundroll\tSound TC\nData\n"
        "a\tT1\t01:00:00:00\t01:00:20:00\tKU2290121000+00\tS1\t10:00:00:00\n"
        "b\tT2\t01:00:00:00\t01:00:20:00\tKU2290132000+00\tS2\t11:00:00:00\n";
    static const char before[] =
        "001 T1 V C 01:00:01:00 01:00:02:00 01:00:00:00 01:00:01:00\n"
        "002 T2 V C 01:00:01:00 01:00:02:00 01:00:01:00 01:00:02:00\n";
    static const char after[] =
        "001 T1 V C 01:00:01:00 01:00:02:12 01:00:00:00 01:00:01:12\n"
        "002 T1 V C 01:00:02:12 01:00:02:12 01:00:01:12 01:00:01:12\n"
        "002 T2 V D 024 01:00:01:00 01:00:02:00 01:00:01:12 01:00:02:12\n"
        "003 T1 V C 01:00:01:00 01:00:01:10 01:00:02:12 01:00:02:22\n";
    static const char from_black[] =
        "001 BL V C 00:00:00:00 00:00:00:00 01:00:00:00 01:00:00:00\n"
        "001 T2 V D 024 01:00:01:00 01:00:02:00 01:00:00:00 01:00:01:00\n";
    const char* logs[]      = {log};
    size_t sizes[]          = {sizeof log - 1};
    int32_t const lengths[] = {24}, odd_length = 25, no_length = 0;
    marlix_film_more_options more;
    marlix_film_lists* lists = NULL;
    marlix_film_piece dupe;
    marlix_film_optical optical;
    marlix_film_side out_side, in_side;
    marlix_film_sound sound;
    marlix_film_change change;
    marlix_film_cut cut;
    marlix_tc_rate rate;
    size_t dupes = 0, opticals = 0, sounds = 0, changes = 0, length = 0, at = 9;
    uint32_t line = 0;
    int32_t event = 0;
    char text[256];
/* The lists of edl against the log, with the options in more. */
#define MAKE_WITH(edl) \
    marlix_film_lists_make_with(edl, sizeof edl - 1, rate, logs, sizes, 1, NULL, &more, &lists)
    CHECK(marlix_tc_rate_find("24", &rate) == MARLIX_OK);
    marlix_film_more_defaults(&more);
    CHECK(more.handles == 1 && more.previous == NULL);
    more.previous         = before;
    more.previous_size    = sizeof before - 1;
    more.lab_lengths      = lengths;
    more.lab_length_count = 1;
    CHECK(MAKE_WITH(after) == MARLIX_OK);
    CHECK(marlix_film_lists_more_counts(lists, &dupes, &opticals, &sounds, &changes) == MARLIX_OK);
    CHECK(dupes == 1 && opticals == 1 && sounds == 3 && changes >= 2);
    /* Each row read refuses no lists, and nowhere to put the row. */
    CHECK_EACH(MARLIX_ERR_ARGUMENT, marlix_film_cut_at(NULL, 0, &cut),
               marlix_film_piece_at(NULL, MARLIX_FILM_PULLS, 0, &dupe),
               marlix_film_piece_event(NULL, MARLIX_FILM_PULLS, 0, 0, &event),
               marlix_film_optical_at(NULL, 0, &optical),
               marlix_film_optical_side(NULL, 0, 1, &in_side),
               marlix_film_sound_at(NULL, 0, &sound), marlix_film_change_at(NULL, 0, &change),
               marlix_film_change_in_reel_order(NULL, 0, &at),
               marlix_film_lists_counts(NULL, &dupes, NULL, NULL, NULL),
               marlix_film_lists_more_counts(NULL, &dupes, NULL, NULL, NULL),
               marlix_film_missing_at(NULL, 0, &event, &event, text, sizeof text),
               marlix_film_log_error_at(NULL, 0, &at, &line, text, sizeof text));
    CHECK_EACH(MARLIX_ERR_ARGUMENT, marlix_film_cut_at(lists, 0, NULL),
               marlix_film_piece_at(lists, MARLIX_FILM_PULLS, 0, NULL),
               marlix_film_piece_event(lists, MARLIX_FILM_PULLS, 0, 0, NULL),
               marlix_film_optical_at(lists, 0, NULL), marlix_film_optical_side(lists, 0, 1, NULL),
               marlix_film_sound_at(lists, 0, NULL), marlix_film_change_at(lists, 0, NULL),
               marlix_film_change_in_reel_order(lists, 0, NULL));
    CHECK_EACH(
        MARLIX_ERR_ARGUMENT, marlix_film_cut_text(NULL, 0, MARLIX_FILM_CLIP, text, sizeof text),
        marlix_film_piece_text(NULL, MARLIX_FILM_PULLS, 0, MARLIX_FILM_CLIP, text, sizeof text),
        marlix_film_optical_text(NULL, 0, 1, MARLIX_FILM_CLIP, text, sizeof text),
        marlix_film_sound_text(NULL, 0, MARLIX_FILM_CLIP, text, sizeof text),
        marlix_film_change_text(NULL, 0, MARLIX_FILM_CLIP, text, sizeof text));
    /* Event 3 takes source frames 24-33 of roll 12, event 1 24-59: with a
     * frame of handle each side, 23-34 are shared. */
    CHECK(marlix_film_piece_at(lists, MARLIX_FILM_DUPES, 0, &dupe) == MARLIX_OK &&
          dupe.frames == 12 && dupe.first_sample == 64000 + 23 * 4 && dupe.event_count == 2);
    CHECK(marlix_film_piece_event(lists, MARLIX_FILM_DUPES, 0, 1, &event) == MARLIX_OK &&
          event == 3);
    CHECK_TEXT(
        marlix_film_piece_text(lists, MARLIX_FILM_DUPES, 0, MARLIX_FILM_KEY_OUT, text, sizeof text),
        text, "KU2290121002+02");
    CHECK(marlix_film_optical_at(lists, 0, &optical) == MARLIX_OK && optical.event == 2 &&
          optical.kind == MARLIX_FILM_DISSOLVE && optical.lab == 1 && optical.length == 24 &&
          optical.has_out == 1 && optical.centre == 86400 + 36 + 12);
    CHECK(marlix_film_cut_at(lists, 0, &cut) == MARLIX_OK);
    CHECK(marlix_film_optical_side(lists, 0, 0, &out_side) == MARLIX_OK &&
          out_side.first_sample == cut.last_sample + 4 && out_side.frames == 24);
    CHECK_TEXT(marlix_film_optical_text(lists, 0, 1, MARLIX_FILM_REEL, text, sizeof text), text,
               "T2");
    CHECK_TEXT(marlix_film_optical_text(lists, 0, 1, MARLIX_FILM_FEET_FRAMES, text, sizeof text),
               text, "3+00");
    CHECK(marlix_film_sound_at(lists, 1, &sound) == MARLIX_OK && sound.found == 1 &&
          sound.rate.num == 24 && sound.rate.drop == 0 && sound.sound_in == 11 * 86400 + 24 &&
          sound.sound_out == 11 * 86400 + 48);
    CHECK_TEXT(marlix_film_sound_text(lists, 1, MARLIX_FILM_SOUNDROLL, text, sizeof text), text,
               "S2");
    CHECK_EACH(MARLIX_ERR_ARGUMENT,
               marlix_film_optical_text(lists, 0, 1, MARLIX_FILM_NOTES, text, sizeof text),
               marlix_film_optical_side(lists, 0, 2, &in_side),
               marlix_film_sound_text(lists, 1, MARLIX_FILM_CAMROLL, text, sizeof text),
               marlix_film_change_at(lists, changes, &change));
    CHECK(marlix_film_audio_edl(lists, "SOUND", NULL, 0, &length) == MARLIX_OK && length > 0);
    CHECK(marlix_film_audio_edl(lists, "SOUND", text, sizeof text, NULL) == MARLIX_OK &&
          strstr(text, "002  S2       AA    C        11:00:01:00 11:00:02:00") != NULL);
    /* Event 1 grows by 12 frames at its tail: the first change. */
    CHECK(marlix_film_change_at(lists, 0, &change) == MARLIX_OK &&
          change.kind == MARLIX_FILM_LENGTHEN && change.end == MARLIX_FILM_TAIL &&
          change.at == 24 && change.frames == 12);
    CHECK_TEXT(marlix_film_change_text(lists, 0, MARLIX_FILM_FEET_FRAMES, text, sizeof text), text,
               "1+08");
    CHECK(marlix_film_change_in_reel_order(lists, 0, &at) == MARLIX_OK && at < changes);
    marlix_film_lists_free(lists);
    more.handles = -1;
    CHECK(MAKE_WITH(after) == MARLIX_ERR_ARGUMENT && lists == NULL);
    more.handles = 10001; /* handles run up to 10000 frames */
    CHECK(MAKE_WITH(after) == MARLIX_ERR_ARGUMENT && lists == NULL);
    more.handles = 10000;
    CHECK(MAKE_WITH(after) == MARLIX_OK);
    marlix_film_lists_free(lists);
    more.handles     = 0;
    more.lab_lengths = NULL;
    CHECK(MAKE_WITH(after) == MARLIX_ERR_ARGUMENT);
    more.lab_length_count = 1;
    more.lab_lengths      = &no_length;
    CHECK(MAKE_WITH(after) == MARLIX_ERR_ARGUMENT);
    more.lab_lengths   = &odd_length;
    more.previous      = NULL;
    more.previous_size = 0;
    CHECK(MAKE_WITH(after) == MARLIX_OK);
    CHECK(marlix_film_lists_more_counts(lists, &dupes, NULL, NULL, &changes) == MARLIX_OK &&
          dupes == 1 && changes == 0);
    CHECK(marlix_film_piece_at(lists, MARLIX_FILM_DUPES, 0, &dupe) == MARLIX_OK &&
          dupe.frames == 10);
    /* A lab that prints only 25-frame dissolves leaves this one to opticals. */
    CHECK(marlix_film_optical_at(lists, 0, &optical) == MARLIX_OK && optical.lab == 0 &&
          optical.length == 24);
    marlix_film_lists_free(lists);
    /* A dissolve out of black: its outgoing side is black, without key numbers. */
    CHECK(MAKE_WITH(from_black) == MARLIX_OK);
    CHECK(marlix_film_optical_side(lists, 0, 0, &out_side) == MARLIX_OK && out_side.matched == 0 &&
          out_side.black == 1);
    CHECK(marlix_film_optical_side(lists, 0, 1, &in_side) == MARLIX_OK && in_side.matched == 1 &&
          in_side.black == 0);
    marlix_film_lists_free(lists);
#undef MAKE_WITH
}

/* The copy of translation messages on standard output, on and off: a
 * medium the translation does not handle (0) says so there too. Standard
 * output goes to a file and stays closed, so this runs last. */
static void messages_on_standard_output(void) {
    const char* const path = "capi_test_stdout.txt";
    double r               = 0;
    long written           = 0;
    if (freopen(path, "w+", stdout) == NULL) {
        CHECK(0);
        return;
    }
    marlix_set_messages_to_standard_output(1);
    marlix_xlate(1.0, 0, 2, NULL, NULL, &r);
    fflush(stdout);
    written = ftell(stdout);
    CHECK(written > 0);
    marlix_set_messages_to_standard_output(0);
    marlix_xlate(1.0, 0, 2, NULL, NULL, &r);
    fflush(stdout);
    CHECK(ftell(stdout) == written);
    fclose(stdout);
    remove(path);
}

int main(void) {
    marlix_set_messages_to_standard_output(0);
    CHECK(marlix_version()[0] != '\0');
    label_texts();
    labels();
    media();
    translation();
    cadences();
    legacy();
    timecode();
    status_texts();
    edit_decision_lists();
    edit_decision_list_conversion();
    film_lists();
    film_more_lists();
    messages_on_standard_output();
    if (failures != 0) fprintf(stderr, "%d checks failed\n", failures);
    return failures == 0 ? 0 : 1;
}
