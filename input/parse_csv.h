// parseCSV(files, delimiter, dct, transX, transY, scaleZ): reads the point files in order and
// adds one point per row to dct: (x + transX, y + transY, z * scaleZ) from the first three
// numbers of the row. Fields are separated by the first character of delimiter (none when it is
// empty); empty fields and blank rows are skipped. A status-bar meter labelled with the file name
// shows the progress through each file.
//
// Gives the number of rows read over all files, blank rows included. Gives 0, after a message
// box captioned "Nimbora", when a file cannot be opened ("File '<name>' not found!", also for a
// name that is not a regular file, before anything is read from it) or a row has a field that is
// not a number or fewer than three numbers; files after it are not read, and the points added
// before stay in dct. A failure of dct.AddPoint (a thrown text) passes out to the caller, and so
// does the refusal of a point that is not finite after the shift and scale (GeometryError
// kPointNotFinite, thrown before the point is added). The meter is ended on every way out.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "geom/dct/dct.h"

std::int32_t parseCSV(const std::vector<std::wstring>& files, const std::wstring& delimiter,
                      geom::CDCT& dct, double transX, double transY, double scaleZ);
