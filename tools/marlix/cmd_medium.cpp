// marlix medium list | parse | fits | from-format, and marlix roll write | read.

#include <strings.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "cli_support.h"
#include "commands.h"

namespace marlix_cli {

char const medium_usage[] =
    "usage: marlix medium list\n"
    "       marlix medium parse [--family F] TEXT...\n"
    "       marlix medium fits PATTERN CANDIDATE...\n"
    "       marlix medium from-format --scan p|i --rate R [--output]\n"
    "list: one row per medium 0..40. parse: an identity text \"medium[,generation]\"\n"
    "as medium= generation= user= (F is a family number 0..7; 6, ink, reads a\n"
    "bare medium as ink film). fits: whether the pattern identity M,G accepts each\n"
    "candidate. from-format: the editing (or, with --output, playout) medium of\n"
    "a picture.\n";

char const roll_usage[] =
    "usage: marlix roll write M,G --reel ID\n"
    "       marlix roll read KEEP...\n"
    "write prints the keep string of a medium roll; read prints medium=\n"
    "generation= reelid= for each keep string.\n";

namespace {

std::optional<marlix::MediumRollIdent> parse_ident(std::string const& text) {
    marlix::MediumRollIdent id;
    marlix::MediumRollId_from_string(text.c_str(), id, marlix::UserLabelNone);
    if (id.medium == 0) return std::nullopt;
    return id;
}

record ident_fields(marlix::MediumRollIdent const& id) {
    return record::fields()
        .integer("medium", id.medium)
        .integer("generation", id.generation)
        .text("user", marlix::MediumRollId_to_UserString(id));
}

int medium_list() {
    for (int m = 0; m < marlix::medium_count; ++m) {
        auto const medium = static_cast<marlix::MediumRollMedium>(m);
        marlix::MediumRollIdent const id(medium, marlix::MediumRollNoGen);
        std::string user = marlix::MediumRollId_to_UserString(id);
        user             = user.substr(0, user.find(','));
        emit_record(
            record::fields()
                .integer("medium", m)
                .text("name", *marlix::medium_name(medium) ? marlix::medium_name(medium) : "-")
                .text("user", user)
                .integer("rate", marlix::getFrameRatefromMedium(medium))
                .flag("progressive", marlix::mediumRollIsFrameProgressive(medium) ? 1 : 0)
                .flag("double_rate", marlix::mediumIsDoubleRateProgressive(medium) ? 1 : 0)
                .integer("default_label", marlix::getDefaultLabelTypeForMedium(medium))
                .integer("label_for_rate", marlix::getLabelTypeForMediumFrameRate(medium))
                .real("sample_duration", marlix::getSampleDurationFromMedium(medium), 17));
    }
    return exit_ok;
}

int medium_parse(args_t const& args) {
    parsed_args const p = parse_args(args, {"--family"}, {});
    if (!p.error.empty()) return usage_error(p.error);
    auto family = marlix::UserLabelNone;
    if (auto f = p.value("--family")) {
        auto const n = parse_integer(*f, 0, 7);
        if (!n) return usage_error("--family takes a family number 0..7");
        family = static_cast<marlix::UserLabelType>(*n);
    }
    return for_each_item(p.operands, [family](std::string const& text) {
        marlix::MediumRollIdent id;
        marlix::MediumRollId_from_string(text.c_str(), id, family);
        if (id.medium == 0)
            return item_result::failure(
                "not a medium roll identity (medium 1..40, generation 1..5)");
        return item_result::success(ident_fields(id));
    });
}

int medium_fits(args_t const& args) {
    if (args.empty()) return usage_error("medium fits needs a pattern M,G");
    auto const pattern = parse_ident(args.front());
    if (!pattern)
        return usage_error(marlix::front::quoted(args.front()) + " is not a medium roll identity");
    args_t const candidates(args.begin() + 1, args.end());
    return for_each_item(candidates, [&](std::string const& text) {
        auto const c = parse_ident(text);
        if (!c) return item_result::failure("not a medium roll identity");
        return item_result::success(
            record::bare().flag("fits", pattern->MediumRollId_fits_this(*c) ? 1 : 0));
    });
}

int medium_from_format(args_t const& args) {
    parsed_args const p = parse_args(args, {"--scan", "--rate"}, {"--output"});
    if (!p.error.empty()) return usage_error(p.error);
    auto const scan      = p.value("--scan");
    auto const rate_text = p.value("--rate");
    if (!scan || (*scan != "p" && *scan != "i")) return usage_error("--scan takes p or i");
    if (!rate_text) return usage_error("--rate R is needed");
    auto const rate = parse_rate(*rate_text);
    if (!rate)
        return usage_error(marlix::front::quoted(*rate_text) + " is not a frame rate (" +
                           rate_names_text() + ")");
    auto const s =
        *scan == "p" ? Tov::Image::ScanMode_Progressive : Tov::Image::ScanMode_InterlacedUpperFirst;
    auto const m = p.has("--output") ? marlix::getMediumRollfromOutputDetails(s, *rate)
                                     : marlix::getMediumRollfromInputDetails(s, *rate);
    emit_record(record::fields()
                    .integer("medium", m)
                    .text("name", *marlix::medium_name(m) ? marlix::medium_name(m) : "-"));
    return m == marlix::MediumRollNone ? exit_item_failed : exit_ok;
}

}  // namespace

int run_medium(args_t const& args) {
    if (args.empty()) return usage_error("medium needs list, parse, fits or from-format");
    args_t const rest(args.begin() + 1, args.end());
    if (args.front() == "list")
        return rest.empty() ? medium_list() : usage_error("medium list takes no operands");
    if (args.front() == "parse") return medium_parse(rest);
    if (args.front() == "fits") return medium_fits(rest);
    if (args.front() == "from-format") return medium_from_format(rest);
    return usage_error("medium has no '" + args.front() + "'");
}

int run_roll(args_t const& args) {
    if (args.empty()) return usage_error("roll needs write or read");
    args_t const rest(args.begin() + 1, args.end());
    if (args.front() == "write") {
        parsed_args const p = parse_args(rest, {"--reel"}, {});
        if (!p.error.empty()) return usage_error(p.error);
        if (p.operands.size() != 1) return usage_error("roll write takes one identity M,G");
        auto const id = parse_ident(p.operands.front());
        if (!id)
            return usage_error(marlix::front::quoted(p.operands.front()) +
                               " is not a medium roll identity");
        marlix::MediumRoll roll(*id);
        if (auto reel = p.value("--reel")) {
            // The keep string ends the reel id at a blank, and a colon
            // starts another field: such an id would not read back.
            if (reel->find_first_of(" \t:") != std::string::npos) {
                std::fprintf(stderr,
                             "marlix: roll write: the reel id '%s' holds a blank or a colon and "
                             "would not read back\n",
                             reel->c_str());
                return exit_item_failed;
            }
            std::string id_text    = *reel;
            std::size_t const room = marlix::MediumRoll::reelid_capacity - 1;
            if (id_text.size() > room) {
                // Cut at a character boundary: never inside a UTF-8 sequence.
                std::size_t cut = room;
                while (cut > 0 && (static_cast<unsigned char>(id_text[cut]) & 0xC0) == 0x80) --cut;
                id_text.resize(cut);
                std::fprintf(stderr, "marlix: roll write: the reel id is cut to '%s' (%zu bytes)\n",
                             id_text.c_str(), cut);
            }
            roll.set_reelid(id_text.c_str());
        }
        char keep[marlix::MediumRoll::keep_capacity];
        roll.make_keep_string(keep);
        marlix::MediumRoll const back(keep);
        if (back.type() != roll.type() || std::strcmp(back.get_reelid(), roll.get_reelid()) != 0) {
            std::fprintf(stderr, "marlix: roll write: the keep string '%s' would not read back\n",
                         keep);
            return exit_item_failed;
        }
        emit_record(record::bare().text("text", keep));
        return exit_ok;
    }
    if (args.front() == "read") {
        return for_each_item(rest, [](std::string const& keep) {
            marlix::MediumRoll const roll(keep.c_str());
            if (!roll.is_valid()) return item_result::failure("not a medium roll keep string");
            return item_result::success(record::fields()
                                            .integer("medium", roll.type().medium)
                                            .integer("generation", roll.type().generation)
                                            .text("reelid", roll.get_reelid()));
        });
    }
    return usage_error("roll has no '" + args.front() + "': write or read");
}

}  // namespace marlix_cli
