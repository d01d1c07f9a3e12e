// The general reading of a row of delimited survey text, for every row the plain reading
// (SurveyRowReader) leaves to it.
//
// SurveyFields(count): the first `count` fields of rows.
// Split(first, last, delimiter): splits the row [first, last) at the delimiter (a blank or '\0':
// at runs of spaces and tabs) into its first `count` fields at most. Spaces and tabs around a
// field are dropped; a field may be quoted with double quotes ("" inside for one), the quotes
// then removed (its bytes are then a copy, kept until the next Split).
// Size(), [k]: the fields found, each as the bytes [first, last).
//
// IsSurveyBlank(c): whether c is a space or a tab, the blanks around fields.
//
// ParseSurveyCoordinate(field, decimalComma, decimal, value): whether the whole field, after one
// optional '+', is a finite number (std::from_chars, the decimal mark '.'); where decimalComma
// holds and the field does not convert as it is, also with its commas read as points (`decimal`
// holds that copy). value is set when it gives true.
// ConvertSurveyNumber(first, last, decimalComma, decimal, value): the same for the bytes
// [first, last) without the '+' and the short-decimal path: std::from_chars, then, where
// decimalComma holds and a comma stopped it, with the commas read as points.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

inline bool IsSurveyBlank(char c) {
    return c == ' ' || c == '\t';
}

struct SurveyField {
    const char* first;
    const char* last;
};

class SurveyFields {
public:
    explicit SurveyFields(std::size_t count) : unquoted_(count) { fields_.reserve(count); }

    void Split(const char* first, const char* last, char delimiter);

    std::size_t Size() const { return fields_.size(); }
    const SurveyField& operator[](int k) const { return fields_[static_cast<std::size_t>(k)]; }

private:
    std::vector<SurveyField> fields_;
    std::vector<std::string> unquoted_;
};

bool ParseSurveyCoordinate(const SurveyField& field, bool decimalComma, std::string& decimal,
                           double& value);
bool ConvertSurveyNumber(const char* first, const char* last, bool decimalComma,
                         std::string& decimal, double& value);
