// ReadLasPointFile(name, choices, label, add): reads the LAS point cloud `name` (LasReader) and
// hands the points the choices keep to add(x, y, z), in file order. The header is checked first:
// a file that cannot be read ends the call before any point is handed on, with false after the
// aborted-function line under label: "File <name> cannot be opened!", "File <name> is no
// readable LAS file: <why>!" (a compressed LAZ file: "... it is a compressed LAZ file; decompress
// it to LAS first ..."), or "File <name> has no point the layout keeps!" (after the points are
// read). Prints "\n<name>: LAS <major>.<minor>, point format <f>, <n> points, <k> kept" at the
// end (not when quiet). A status-bar meter labelled with the file name counts the points.
#pragma once

#include <string>

#include "input/las_reader.h"
#include "input/survey_point_file.h"

bool ReadLasPointFile(const std::wstring& name, const LasChoices& choices, const wchar_t* label,
                      const SurveyPointSink& add, bool quiet = false);

// Whether the file `name` starts with the LAS signature.
bool StartsAsLasFile(const std::wstring& name);
