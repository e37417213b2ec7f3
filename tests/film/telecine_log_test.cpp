#include "marlix/film/telecine_log.h"

#include <gtest/gtest.h>

#include <iterator>
#include <string>
#include <utility>
#include <vector>

namespace marlix::film {
namespace {

// A 35 mm 4-perf log at 29.97 non-drop: 10 s of tape (300 video frames) is
// 240 film frames, 15 feet.
constexpr char heading[] =
    "Heading\nFIELD_DELIM\tTABS\nVIDEO_FORMAT\tNTSC\nFILM_FORMAT\t35mm, 4 perf\n"
    "AUDIO_FORMAT\t48khz\nFPS\t29.97\n\n";

// The columns most finding cases lay their clips out in.
std::string const cols =
    "Column\nName\tTape\tStart\tEnd\tKN Start\tKN End\tKN Duration\tPullin\nData\n";

// Clip a on tape T: 10 s from 01:00:00:00, KN Start to the KN End after it.
std::string const a = "a\tT\t01:00:00:00\t01:00:10:00\tKU2290121234+00\tKU2290121249+00\t";

std::vector<std::string> kinds(telecine_log const& log) {
    std::vector<std::string> out;
    for (log_finding const& f : log.findings)
        out.push_back(std::to_string(f.line) + ":" + finding_name(f.kind));
    return out;
}

TEST(telecine_log_read, VariantsReadToTheSameClip) {
    struct row {
        char const* what;
        std::string text;
    };
    std::string const data =
        "Data\nA1-1\tTAPE0001\t01:00:00:00\t01:00:10:00\tKU 22 9012 1234+00\tA\n";
    row const rows[] = {
        {"plain",
         std::string(heading) + "Column\nName\tTape\tStart\tEnd\tKN Start\tPullin\n\n" + data},
        {"CRLF and blank lines",
         "Heading\r\nFIELD_DELIM\tTABS\r\n\r\nFILM_FORMAT\t35MM,4PERF\r\nFPS\t29.97\r\n\r\n\r\n"
         "Column\r\nName\tTape\tStart\tEnd\tKN Start\tPullin\r\n\r\nData\r\nA1-1\tTAPE0001\t"
         "01:00:00:00\t01:00:10:00\tKU 22 9012 1234+00\tA\r\n"},
        {"one-line heading, columns reordered, unknown kept",
         "\xEF\xBB\xBFHeading\tFIELD_DELIM\tTABS\tFILM_FORMAT\t35mm,4perf\tFPS\t29.97\nColumn\n"
         "pullin\tkn start\tMy Notes\tEnd\tStart\tTape\tName\nData\nA\tKU2290121234+00\tsunset\t"
         "01:00:10:00\t01:00:00:00\tTAPE0001\tA1-1"},
        {"Start first, a column given twice: the first counts; a pull-in in lower case",
         std::string(heading) +
             "Column\nStart\tTape\tName\tEnd\tKN Start\tPullin\tStart\tTape\nData\n"
             "01:00:00:00\tTAPE0001\tA1-1\t01:00:10:00\tKU2290121234+00\ta\t09:00:00:00\tX\n"},
        {"End from Duration; columns named in capitals",
         std::string(heading) + "Column\nNAME\tTAPE\tSTART\tDURATION\tKN START\tPULLIN\nData\n"
                                "A1-1\tTAPE0001\t01:00:00:00\t00:00:10:00\tKU229012-1234+00\tA\n"},
    };
    for (row const& r : rows) {
        telecine_log const log = read_log(r.text);
        SCOPED_TRACE(r.what);
        EXPECT_TRUE(log.ok()) << testing::PrintToString(kinds(log));
        ASSERT_EQ(log.clips.size(), 1u);
        clip const& c = log.clips[0];
        EXPECT_EQ(log.stock, LABEL_KEYCODE_35);
        EXPECT_EQ(log.rate, smpte::rate_29_97);
        EXPECT_EQ(log.field(c, column::name), "A1-1");
        EXPECT_EQ(log.field(c, column::tape), "TAPE0001");
        EXPECT_TRUE(c.has_range);
        EXPECT_EQ(c.end.frames() - c.start.frames(), 300);
        EXPECT_EQ(c.kn_start.prefix, "KU229012");
        EXPECT_EQ(c.kn_start.sample, 1234 * 64);
        EXPECT_EQ(c.fields.size(), log.columns.size());
    }
    telecine_log const unknown = read_log(rows[2].text);
    EXPECT_EQ(unknown.columns[2], "My Notes");
    EXPECT_EQ(unknown.clips[0].fields[2], "sunset");
    // The place of each standard column, -1 where absent; the first of two.
    std::vector<std::int32_t> want(column_count, -1);
    std::pair<column, int> const places[] = {{column::pullin, 0}, {column::kn_start, 1},
                                             {column::end, 3},    {column::start, 4},
                                             {column::tape, 5},   {column::name, 6}};
    for (auto const& [c, at] : places) want[static_cast<std::size_t>(c)] = at;
    EXPECT_EQ(std::vector<std::int32_t>(std::begin(unknown.index), std::end(unknown.index)), want);
    EXPECT_EQ(read_log(rows[3].text).index[static_cast<int>(column::start)], 0);
    // No Column section at all, and no log read.
    for (telecine_log const& bare : {read_log(heading), telecine_log{}})
        EXPECT_EQ(std::vector<std::int32_t>(std::begin(bare.index), std::end(bare.index)),
                  std::vector<std::int32_t>(column_count, -1));
}

TEST(telecine_log_read, HeadingNamesStockAndRate) {
    struct row {
        char const* format;
        char const* fps;
        char const* start;
        label_t stock;
        smpte::rate rate;
    };
    row const rows[] = {
        {"16mm", "23.98", "01:00:00:00", LABEL_KEYCODE_16, smpte::rate_23_976},
        {"35mm, 3 perf", "24", "01:00:00:00", LABEL_KEYCODE_353, smpte::rate_24},
        {"35 mm 4 perf", "25", "01:00:00:00", LABEL_KEYCODE_35, smpte::rate_25},
        {"35mm", "29.97", "01:00:00;00", LABEL_KEYCODE_35, smpte::rate_29_97_df},
        {"35mm", "30", "01:00:00:00", LABEL_KEYCODE_35, smpte::rate_30},
        {"35mm", "59.94", "01:00:00:00", LABEL_KEYCODE_35, smpte::rate_59_94},
    };
    for (row const& r : rows) {
        std::string const text = std::string("Heading\nFILM_FORMAT\t") + r.format + "\nFPS\t" +
                                 r.fps + "\nColumn\nTape\tStart\tEnd\nData\nT1\t" + r.start +
                                 "\t01:00:01:00\n";
        telecine_log const log = read_log(text);
        EXPECT_EQ(log.stock, r.stock) << r.format;
        EXPECT_EQ(log.rate, r.rate) << r.fps;
    }
    EXPECT_EQ(stock_of_film_format("65mm"), LABEL_NONE);
    telecine_log const given = read_log(
        "Heading\nFPS\t24\nColumn\nTape\tStart\tEnd\tKN Start\nData\nT\t01:00:00:00\t01:00:01:00\t"
        "KU2290121234+00\n",
        {LABEL_KEYCODE_655_80});
    EXPECT_EQ(given.stock, LABEL_KEYCODE_655_80);
    EXPECT_TRUE(given.ok());
}

// Each finding, pinned to its line.
TEST(telecine_log_check, FindingsNameLineAndKind) {
    struct row {
        char const* what;
        std::string body;  // Column and Data sections after the heading
        std::vector<std::string> want;
    };
    row const rows[] = {
        {"exclusive KN End, duration in feet", cols + a + "15+00\tA\n", {"0:kn_end_exclusive"}},
        {"inclusive KN End, decided by the majority",
         cols + "a\tT\t01:00:00:00\t01:00:10:00\tKU2290121234+00\tKU2290121248+15\t\tA\n"
                "b\tT\t01:00:10:00\t01:00:20:00\tKU2290121249+00\tKU2290121263+15\t\tA\n"
                "c\tT\t01:00:20:00\t01:00:30:00\tKU2290121264+00\tKU2290121279+00\t\tA\n",
         {"13:kn_end_mismatch", "0:kn_end_inclusive"}},
        {"a KN End a frame before KN Start",
         cols + a + "\tA\nb\tT\t01:00:10:00\t01:00:20:00\tKU2290121249+00\tKU2290121248+15\t\tA\n",
         {"12:kn_end_mismatch", "0:kn_end_exclusive"}},
        {"pull-in X: 5 video frames show 4 film frames and a field",
         cols + "a\tT\t01:00:00:00\t01:00:00:05\tKU2290121234+00\tKU2290121234+05\t5\tX\n",
         {"0:kn_end_exclusive"}},
        {"KN Duration wrong",
         cols + "a\tT\t01:00:00:00\t01:00:10:00\tKU2290121234+00\t\t14+00\tA\n",
         {"11:kn_duration_mismatch"}},
        {"feet-only key number",
         cols + "a\tT\t01:00:00:00\t01:00:10:00\t-0003+00\t\t\tA\n",
         {"11:feet_only_key"}},
        {"bad key number",
         cols + "a\tT\t01:00:00:00\t01:00:10:00\tKU2290121234+16\t\t\tA\n",
         {"11:bad_key_number"}},
        {"bad pull-in",
         cols + "a\tT\t01:00:00:00\t01:00:10:00\tKU2290121234+00\t\t\tE\n",
         {"11:bad_pullin"}},
        {"bad timecode and a reversed range: no KN Duration to check",
         cols + "a\tT\t01:00:00:30\t01:00:10:00\t\t\t14+00\tA\n"
                "b\tT\t01:00:10:00\t01:00:00:00\t\t\t14+00\tA\n",
         {"11:bad_timecode", "11:missing_key_number", "12:end_before_start",
          "12:missing_key_number"}},
        {"KN Start the first column, empty",
         "Column\nKN Start\tName\tTape\tStart\tEnd\nData\n\ta\tT\t01:00:00:00\t01:00:10:00\n",
         {"11:missing_key_number"}},
        {"Tape the first column, empty",
         "Column\nTape\tName\tStart\tEnd\tKN Start\nData\n\ta\t01:00:00:00\t01:00:10:00\t"
         "KU2290121234+00\n",
         {"11:missing_tape"}},
        {"an End that is its Start",
         cols + "a\tT\t01:00:00:00\t01:00:00:00\tKU2290121234+00\t\t\tA\n",
         {"11:end_before_start"}},
        {"overlap on a tape, another tape apart",
         cols + "a\tT\t01:00:00:00\t01:00:10:00\tKU2290121234+00\t\t\tA\n"
                "b\tU\t01:00:05:00\t01:00:15:00\tKU2290121300+00\t\t\tA\n"
                "c\tT\t01:00:09:00\t01:00:15:00\tKU2290121300+00\t\t\tA\n",
         {"13:tape_overlap"}},
        {"missing tape, extra fields",
         cols + "a\t\t01:00:00:00\t01:00:10:00\tKU2290121234+00\t\t\tA\tz\n",
         {"11:extra_fields", "11:missing_tape"}},
        {"KN End on another roll",
         cols + "a\tT\t01:00:00:00\t01:00:10:00\tKU2290121234+00\tKU2290130000+00\t\tA\n",
         {"11:key_roll_changes"}},
        {"no columns", "Data\n", {"0:no_data"}},
        {"no Start column",
         "Column\nName\tTape\nData\na\tT\n",
         {"0:missing_column", "0:missing_key_number"}},
    };
    for (row const& r : rows) {
        telecine_log const log = read_log(std::string(heading) + r.body);
        EXPECT_EQ(kinds(log), r.want) << r.what;
    }
    EXPECT_EQ(kinds(read_log("Heading\nFIELD_DELIM\tCOMMAS\nFPS\t12\nFILM_FORMAT\t70mm\n")),
              (std::vector<std::string>{"0:field_delim", "0:unknown_fps", "0:unknown_film_format",
                                        "0:no_data"}));
    // 16 mm counts KN Duration and KN End in its own frames, 40 a foot.
    EXPECT_EQ(
        kinds(read_log("Heading\nFILM_FORMAT\t16mm\nFPS\t24\nColumn\nTape\tStart\tEnd\t"
                       "KN Start\tKN End\tKN Duration\nData\n"
                       "T\t01:00:00:00\t01:00:10:00\tKU2290121234+00\tKU2290121246+00\t6+00\n"
                       "T\t01:00:10:00\t01:00:20:00\tKU2290121246+00\tKU2290121258+00\t5+00\n")),
        (std::vector<std::string>{"8:kn_duration_mismatch", "0:kn_end_exclusive"}));
    // A drop-frame separator makes 29.97 and 59.94 drop-frame, and is an error at
    // 23.976; with no rate the timecodes are not read at all.
    for (auto const& [fps, want] : {
             std::pair{"29.97", std::vector<std::string>{"0:missing_key_number"}},
             {"59.94", {"0:missing_key_number"}},
             {"23.976", {"6:bad_timecode", "0:missing_key_number"}},
             {"31", {"0:unknown_fps", "0:missing_key_number"}},
         }) {
        telecine_log const log = read_log(std::string("Heading\nFPS\t") + fps +
                                          "\nColumn\nName\tTape\tStart\tEnd\nData\n"
                                          "a\tT\t01:00:00;00\t01:00:10;00\n");
        EXPECT_EQ(kinds(log), want) << fps;
        EXPECT_EQ(log.rate.drop, std::string(fps) == "29.97" || std::string(fps) == "59.94") << fps;
    }
    EXPECT_EQ(kinds(read_log("Heading\nFPS\t24\nColumn\nTape\tStart\tEnd\tKN Start\nData\n"
                             "T\t01:00:00:00\t01:00:01:00\tKU2290121234+00\n")),
              (std::vector<std::string>{"6:no_stock"}));
    for (int k = 0; k < log_finding_kind_count; ++k) {
        log_finding const f{static_cast<log_finding_kind>(k), 1, "x", 1, 2};
        EXPECT_NE(describe(f), "unknown finding");
        EXPECT_STRNE(finding_name(f.kind), "unknown");
    }
}

// What each finding counted, the KN End rule the votes decide (a tie keeps
// the frame after the clip), and the words a finding is described in.
TEST(telecine_log_check, FindingsCountWhatTheyFound) {
    struct row {
        char const* what;
        std::string body;
        std::vector<std::string> want;  // line:kind first second
        kn_end_rule rule;
    };
    row const rows[] = {
        {"Duration one frame short",
         "Column\nName\tTape\tStart\tEnd\tDuration\tKN Start\nData\n"
         "a\tT\t01:00:00:00\t01:00:10:00\t00:00:09:29\tKU2290121234+00\n"
         "b\tT\t01:00:10:00\t01:00:20:00\t00:00:10:00\tKU2290121249+00\n",
         {"11:duration_mismatch 299 300"},
         kn_end_rule::unknown},
        {"a tie keeps the exclusive rule",
         cols + a + "\tA\nb\tT\t01:00:10:00\t01:00:20:00\tKU2290121249+00\tKU2290121263+15\t\tA\n",
         {"12:kn_end_mismatch 239 240", "0:kn_end_exclusive 1 1"},
         kn_end_rule::exclusive},
        {"inclusive by two to one",
         cols + "a\tT\t01:00:00:00\t01:00:10:00\tKU2290121234+00\tKU2290121248+15\t\tA\n"
                "b\tT\t01:00:10:00\t01:00:20:00\tKU2290121249+00\tKU2290121263+15\t\tA\n"
                "c\tT\t01:00:20:00\t01:00:30:00\tKU2290121264+00\tKU2290121279+00\t\tA\n",
         {"13:kn_end_mismatch 240 239", "0:kn_end_inclusive 2 1"},
         kn_end_rule::inclusive},
        {"a KN End before KN Start",
         cols + a + "\tA\nb\tT\t01:00:10:00\t01:00:20:00\tKU2290121249+00\tKU2290121248+15\t\tA\n",
         {"12:kn_end_mismatch -1 240", "0:kn_end_exclusive 1 0"},
         kn_end_rule::exclusive},
        {"KN Duration short, and unreadable",
         cols + "a\tT\t01:00:00:00\t01:00:10:00\tKU2290121234+00\t\t14+00\tA\n"
                "b\tT\t01:00:10:00\t01:00:20:00\tKU2290121249+00\t\t14x00\tA\n",
         {"11:kn_duration_mismatch 224 240", "12:kn_duration_mismatch -1 240"},
         kn_end_rule::unknown},
        {"overlaps, two clips from one Start",
         cols + "a\tT\t01:00:00:00\t01:00:05:00\tKU2290121234+00\t\t\tA\n"
                "b\tT\t01:00:00:00\t01:00:10:00\tKU2290121300+00\t\t\tA\n"
                "c\tT\t01:00:09:00\t01:00:15:00\tKU2290121400+00\t\t\tA\n",
         {"12:tape_overlap 150 11", "13:tape_overlap 30 12"},
         kn_end_rule::unknown},
        {"extra fields",
         cols + a + "\tA\tz\n",
         {"11:extra_fields 9 8", "0:kn_end_exclusive 1 0"},
         kn_end_rule::exclusive},
        {"findings without counts",
         "Column\nName\tTape\nData\na\tT\n",
         {"0:missing_column 0 0", "0:missing_key_number 0 0"},
         kn_end_rule::unknown},
    };
    for (row const& r : rows) {
        telecine_log const log = read_log(std::string(heading) + r.body);
        std::vector<std::string> got;
        for (log_finding const& f : log.findings)
            got.push_back(std::to_string(f.line) + ":" + finding_name(f.kind) + " " +
                          std::to_string(f.first) + " " + std::to_string(f.second));
        EXPECT_EQ(got, r.want) << r.what;
        EXPECT_EQ(log.end_rule, r.rule) << r.what;
    }
    for (auto const& [f, text] : {
             std::pair{
                 log_finding{log_finding_kind::duration_mismatch, 11, "00:00:09:29", 299, 300},
                 "Duration 00:00:09:29 is 299 frames, End - Start 300"},
             {log_finding{log_finding_kind::tape_overlap, 13, "T", 30, 12},
              "tape T: overlaps the clip of line 12 by 30 frames"},
             {log_finding{log_finding_kind::missing_key_number, 11, "", 0, 0}, "no KN Start"},
             {log_finding{log_finding_kind::missing_key_number, 0, "KN Start", 0, 0},
              "no KN Start column: no clip has key numbers"},
         })
        EXPECT_EQ(describe(f), text);
    EXPECT_STREQ(column_name(column::kn_start), "KN Start");
    EXPECT_STREQ(column_name(column::take), "Take");
    EXPECT_STREQ(column_name(static_cast<column>(column_count)), "");
    telecine_log const one = read_log(std::string(heading) + cols + a + "\tA\n");
    ASSERT_EQ(one.clips.size(), 1u);
    EXPECT_EQ(one.field(one.clips[0], column::kn_end), "KU2290121249+00");
    EXPECT_EQ(one.field(one.clips[0], static_cast<column>(column_count)), "");
}

// Headings written with blanks instead of a tab, line ends of CRLF, a stock
// missing once for all its clips, and no Tape column.
TEST(telecine_log_read, LooseHeadingsAndLinesAreCountedAsWritten) {
    telecine_log const loose = read_log(
        "Heading\nFPS 24\nFILM_FORMAT  35mm\nColumn\nTape\tStart\tEnd\nData\n"
        "T\t01:00:00:00\t01:00:01:00\n");
    EXPECT_EQ(loose.rate, smpte::rate_24);
    EXPECT_EQ(loose.stock, LABEL_KEYCODE_35);
    EXPECT_EQ(loose.heading, (std::vector<std::pair<std::string, std::string>>{
                                 {"FPS", "24"}, {"FILM_FORMAT", "35mm"}}));
    EXPECT_EQ(kinds(read_log("Heading\r\nFPS\t24\r\nColumn\r\nTape\tStart\tEnd\r\nData\r\n"
                             "T\t01:00:00:00\t01:00:00:00\r\n")),
              (std::vector<std::string>{"6:end_before_start", "0:missing_key_number"}));
    EXPECT_EQ(kinds(read_log("Heading\nFPS\t24\nColumn\nTape\tStart\tEnd\tKN Start\tKN End\nData\n"
                             "T\t01:00:00:00\t01:00:01:00\tKU2290121234+00\tKU2290121235+00\n"
                             "T\t01:00:01:00\t01:00:02:00\tKU2290121235+00\tKU2290121236+00\n")),
              (std::vector<std::string>{"6:no_stock"}));
    telecine_log const no_tape = read_log(std::string(heading) +
                                          "Column\nName\tStart\tEnd\tKN Start\nData\n"
                                          "a\t01:00:00:00\t01:00:10:00\tKU2290121234+00\n");
    ASSERT_EQ(kinds(no_tape), (std::vector<std::string>{"0:missing_column"}));
    EXPECT_EQ(no_tape.findings[0].what, "Tape");
}

TEST(telecine_log_check, EachKindIsAnErrorAWarningOrANote) {
    std::string const notes = " none kn_end_inclusive kn_end_exclusive ";
    std::string const warnings =
        " unknown_film_format extra_fields duration_mismatch kn_duration_mismatch kn_end_mismatch"
        " key_roll_changes tape_overlap missing_key_number missing_tape ";
    for (int k = 0; k <= log_finding_kind_count; ++k) {
        auto const kind          = static_cast<log_finding_kind>(k);
        std::string const spaced = " " + std::string(finding_name(kind)) + " ";
        severity const want      = notes.find(spaced) != std::string::npos      ? severity::note
                                   : warnings.find(spaced) != std::string::npos ? severity::warning
                                                                                : severity::error;
        EXPECT_EQ(severity_of(kind), want) << spaced;
    }
}

// The film frames a clip's video frames show: the 2:3 cadence from each
// pull-in, A B C D on 2 3 2 3 frames at 60, 24:25 at 25.
TEST(telecine_log_cadence, PullinsShowTheirFilmFrames) {
    struct row {
        smpte::rate rate;
        pullin p;
        bool pal;
        std::vector<int> first, last;  // of video frames 0..5
    };
    row const rows[] = {
        {smpte::rate_29_97, pullin::a, false, {0, 1, 1, 2, 3, 4}, {0, 1, 2, 3, 3, 4}},
        {smpte::rate_29_97, pullin::b, false, {0, 0, 1, 2, 3, 4}, {0, 1, 2, 2, 3, 4}},
        {smpte::rate_29_97, pullin::x, false, {0, 1, 2, 3, 4, 4}, {1, 2, 2, 3, 4, 5}},
        {smpte::rate_29_97_df, pullin::c, false, {0, 1, 2, 3, 3, 4}, {1, 1, 2, 3, 4, 5}},
        {smpte::rate_30, pullin::d, false, {0, 1, 2, 2, 3, 4}, {0, 1, 2, 3, 4, 4}},
        {smpte::rate_59_94, pullin::a, false, {0, 0, 1, 1, 1, 2}, {0, 0, 1, 1, 1, 2}},
        {smpte::rate_59_94, pullin::b, false, {0, 0, 0, 1, 1, 2}, {0, 0, 0, 1, 1, 2}},
        {smpte::rate_60, pullin::d, false, {0, 0, 1, 1, 2, 2}, {0, 0, 1, 1, 2, 2}},
        {smpte::rate_24, pullin::c, false, {0, 1, 2, 3, 4, 5}, {0, 1, 2, 3, 4, 5}},
        {smpte::rate_25, pullin::a, false, {0, 1, 2, 3, 4, 5}, {0, 1, 2, 3, 4, 5}},
        {smpte::rate_25, pullin::a, true, {0, 1, 2, 3, 4, 5}, {0, 1, 2, 3, 4, 5}},
    };
    for (row const& r : rows) {
        SCOPED_TRACE(std::string(smpte::rate_name(r.rate)) + " pullin " +
                     std::to_string(static_cast<int>(r.p)) + (r.pal ? " 24:25" : ""));
        cadence const c = cadence_of(r.rate, r.p, r.pal);
        for (int n = 0; n < 6; ++n) {
            EXPECT_EQ(first_film_frame(c, n), r.first[static_cast<std::size_t>(n)]) << n;
            EXPECT_EQ(last_film_frame(c, n), r.last[static_cast<std::size_t>(n)]) << n;
        }
        // A whole cycle earlier is a cycle's film frames earlier, before the
        // Start as after it, for the frame nearest a video frame's start too.
        for (std::int64_t n = -3 * c.den; n <= 3 * c.den; ++n) {
            EXPECT_EQ(nearest_film_frame(c, n - c.den), nearest_film_frame(c, n) - c.num) << n;
            EXPECT_EQ(first_film_frame(c, n - c.den), first_film_frame(c, n) - c.num) << n;
        }
    }
    // 24:25: 25 video frames show 24 film frames.
    cadence const pal = cadence_of(smpte::rate_25, pullin::a, true);
    EXPECT_EQ(last_film_frame(pal, 24), 23);
    EXPECT_EQ(first_film_frame(pal, 25), 24);
}

TEST(telecine_log_read, HostileBytesNeverCrash) {
    std::string const base =
        std::string(heading) +
        "Column\nName\tTape\tStart\tEnd\tKN Start\tKN End\tKN Duration\tInk "
        "Number\tPullin\nData\na\tT\t01:00:00:00\t01:00:10:00\tKU2290121234+00\t"
        "KU2290121249+00\t99999999999999999999+99\tAB12 0000+00\tA\n";
    std::uint32_t seed = 7;
    for (int round = 0; round < 2000; ++round) {
        std::string text = base;
        for (int k = 0; k < 4; ++k) {
            seed                 = seed * 1664525u + 1013904223u;
            std::size_t const at = (seed >> 8) % text.size();
            text[at]             = static_cast<char>(seed >> 24);
        }
        telecine_log const log = read_log(text);
        for (log_finding const& f : log.findings) EXPECT_FALSE(describe(f).empty());
    }
}

}  // namespace
}  // namespace marlix::film
