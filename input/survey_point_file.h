// Survey point files as instruments and office software export them, for the constrained surface
// functions (the ten functions keep parseCSV).
//
// ParseSurveyLayout(layout, columns): the column layout, one letter per column, any case: P (point
// number), N (northing, y), E (easting, x), X, Y, Z (elevation), D (description); P and D are
// ignored. Each letter at most once; x, y and z needed (N or Y, E or X, Z). "PNEZD", "PENZD",
// "NEZ", "ENZ", "XYZ", "PXYZD", ... Then, after spaces, choices for LAS files, any case, each
// once: "class=2,9" keeps only points of the listed classes (0 ... 255), "nowithheld" leaves out
// points flagged withheld, "nonoise" points of the noise classes 7 and 18. False for anything
// else.
//
// ReadSurveyPointFiles(files, columns, delimiter, label, add, counts): reads the files in order
// and hands each point to add(x, y, z). A file that starts with "LASF" is a LAS point cloud
// (ReadLasPointFile); every other file is delimited text. A row is split at the delimiter (a
// space: at runs of spaces and tabs); fields may be quoted with double quotes ("" inside for one),
// spaces around fields are ignored, and columns beyond the layout's are ignored. Where the
// delimiter is not a comma, a comma in a number is its decimal mark. A line ends at a line feed, a
// carriage return and line feed, or a carriage return alone (files of old systems); a UTF-8
// byte-order mark at the start of a file is skipped; blank lines are not rows. Only the layout's
// columns of a row are kept, so a row takes memory for its bytes alone, however many fields follow.
// - Rows before a file's first readable row are header rows: skipped.
// - Later rows that cannot be read (too few fields, a coordinate that is no finite number) are
//   skipped and reported, "\n<file>, row <n> cannot be read and is skipped." (the first ten;
//   then "\nFurther rows that cannot be read are not listed.").
// Every point handed on has finite coordinates.
// At the end prints "\nRows read: <r>, skipped: <s>" (read counts the points handed on). A
// status-bar meter labelled with the file name counts its lines.
// options (SurveyReadOptions): quiet prints nothing but errors (for reading the same files
// again); dropRepeats, for a sink that finds the repeats itself (a triangulator, in the sort it
// needs anyway): after the last file dropRepeats() leaves out of the sink every point at the plan
// position of an earlier one, keeping the first, and gives how many it left out; read then counts
// the points kept, duplicates those left out, and the summary is "\nRows read: <r>, skipped: <s>,
// duplicate plan positions: <d>". Without it every row is handed on, duplicates too, in memory
// that does not grow with the rows.
//
// Gives false after the aborted-function line under label (nil set) when a file cannot be
// opened ("File <name> cannot be opened!") or has no readable row ("File <name> has no point
// rows in the layout <layout>!"). What add throws passes through, the meter ended.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "input/las_reader.h"

struct SurveyColumns {
    std::wstring layout;
    LasChoices las;
    int x = -1;
    int y = -1;
    int z = -1;
};

struct SurveyReadCounts {
    std::int32_t read = 0;
    std::int32_t skipped = 0;
    std::int32_t duplicates = 0;
};

bool ParseSurveyLayout(const std::wstring& layout, SurveyColumns& columns);

using SurveyPointSink = std::function<void(double x, double y, double z)>;
using SurveyRepeatsDrop = std::function<std::size_t()>;

struct SurveyReadOptions {
    bool quiet = false;
    SurveyRepeatsDrop dropRepeats;
};

bool ReadSurveyPointFiles(const std::vector<std::wstring>& files, const SurveyColumns& columns,
                          wchar_t delimiter, const wchar_t* label, const SurveyPointSink& add,
                          SurveyReadCounts& counts, const SurveyReadOptions& options = {});
