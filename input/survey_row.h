// SurveyRowReader(x, y, z, delimiter): reads the coordinates from rows of delimited survey text,
// x, y and z from the columns of those numbers (from 0), the row split at the delimiter (a space,
// a tab or '\0': at runs of spaces and tabs). Where the delimiter is not a comma, a comma in a
// number is its decimal mark.
//
// Read(first, last, xyz): whether the row [first, last) has those columns and each of them is a
// finite number (SurveyFields, ParseSurveyCoordinate: fields quoted or not, spaces around them,
// one '+', exponents, ...); xyz then holds x, y and z. Columns after the last of them are not
// read.
//
// The usual row, the numbers plain decimals without quotes, is read in one pass over its bytes,
// each number converted as it is scanned; any other row is split into fields first. Both give the
// same answer and the same values for every row.
#pragma once

#include <string>

#include "input/survey_fields.h"

class SurveyRowReader {
public:
    SurveyRowReader(int x, int y, int z, char delimiter);

    bool Read(const char* first, const char* last, double (&xyz)[3]);

    // How rows are read, decided by the delimiter: in one pass at blanks or at the delimiter
    // (a comma also a decimal mark or not), or split into fields.
    enum class Kind { Blanks, Delimiter, DelimiterComma, FieldsOnly };

private:
    static constexpr int kMostColumns = 8;  // the layout letters, each once

    template <bool kBlanks, bool kCommaToo>
    bool ReadPlain(const char* p, const char* last, double (&xyz)[3]);
    bool ReadFields(const char* first, const char* last, double (&xyz)[3]);

    int x_;
    int y_;
    int z_;
    int needed_;
    char delimiter_;
    Kind kind_;
    signed char coordinate_[kMostColumns];  // per column: 0, 1, 2 for x, y, z; -1 for none
    SurveyFields fields_;
    std::string decimal_;
};
