#pragma once

/// @file
/// The film lists as tables: each list's rows as named cells of text, the
/// same cells whoever prints them, and two printed forms of a table: CSV
/// with a header, and text in aligned columns. A front end that prints
/// another form (JSON) reads the cells.
///
/// Cells hold text as the lists print it: timecodes in the SMPTE form of
/// their mode, key numbers compact, footage as FT+FR, numbers in decimal.
/// A table is a value and owns its text.

#include <string>
#include <string_view>
#include <vector>

#include "marlix/export.h"
#include "marlix/film/film_lists.h"

namespace marlix::film {

/// One cell of a table row.
struct table_cell {
    std::string name;     ///< the column's name, snake_case ("key_in")
    std::string text;     ///< empty where the row has nothing to say
    bool number = false;  ///< the text is a whole number in decimal
    /// An empty text means "none" (a JSON null), not an empty string.
    bool null_when_empty = false;
};

/// A row: the same columns in the same order in every row of a table.
using table_row = std::vector<table_cell>;
/// A list's rows; empty where the list is.
using list_table = std::vector<table_row>;

/// The cut list, in record order.
MARLIX_API list_table cut_table(film_lists const& lists);
/// The pull list: the negative to pull, with the events that use each piece.
MARLIX_API list_table pull_table(film_lists const& lists);
/// The missing elements.
MARLIX_API list_table missing_table(film_lists const& lists);
/// The dupe list.
MARLIX_API list_table dupe_table(film_lists const& lists);
/// One row a side of each effect: the opticals, or with lab the dissolves
/// and fades a lab prints.
MARLIX_API list_table optical_table(film_lists const& lists, bool lab);
/// The sound pull list, one row a picture cut.
MARLIX_API list_table sound_table(film_lists const& lists);
/// The change list in record order, or with by_reel by lab roll, camera
/// roll and key number; the order column names which.
MARLIX_API list_table change_table(change_list const& changes, bool by_reel);
/// The reel's totals as one row.
MARLIX_API table_row totals_row(film_lists const& lists);

/// A CSV field: the text as it is, or quoted (quotes doubled) where it
/// holds a comma, a quote or a line end.
MARLIX_API std::string csv_field(std::string_view text);
/// A header of the column names, then one line a row; each line ends in
/// LF. Empty for a table of no rows.
MARLIX_API std::string table_csv(list_table const& rows);
/// A header of the column names in capitals (blanks for underscores), then
/// one line a row, each column padded to its widest text and two blanks
/// apart, trailing blanks cut; each line ends in LF. Columns no row fills
/// are left out. Empty for a table of no rows.
MARLIX_API std::string table_text(list_table const& rows);

}  // namespace marlix::film
