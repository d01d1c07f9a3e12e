// DefineGisFunctions(library, host, commandLine): kafcad's AutoLISP functions for DEM rasters,
// GeoTIFF and the drawing's coordinate system (GeoPackage files are drawing files: kafcad-save):
//   (kafcad-crs ["system"])     sets the drawing's coordinate system ("EPSG:25832"; nil: none);
//                               gives its label, nil when it has none
//   (kafcad-dem-points "dem" [step ["pointfile"]])
//                               the DEM's cell centres as a point list (ReadDemPoints), or written
//                               to pointfile as x;y;z rows (gives its name); takes over the DEM's
//                               coordinate system, refuses one that differs from the drawing's
//   (kafcad-geotiff "file.tif" cellsize [surface])
//                               writes the surface as a GeoTIFF DEM; surface: nil or left out for
//                               every mesh and 3D face of model space, a list of their handles,
//                               or a list of triangles ((x y z) (x y z) (x y z)) as kaf-dct gives
//                               them; gives the file name
// Each prints one line on the command line saying what it read or wrote. Failures are LispErrors:
// "bad argument value: ..." for arguments, "cannot read DEM PATH: REASON", "cannot write GeoTIFF
// PATH: REASON", and kGisUnavailable's text where kafcad is built without GDAL.
#pragma once

#include "app/lisp/builtins/library.h"
#include "app/lisp/command_line_output.h"
#include "kafhost/host.h"

namespace kafcad {

void DefineGisFunctions(BuiltinLibrary& library, kafhost::Host& host,
                        CommandLineOutput& commandLine);

}  // namespace kafcad
