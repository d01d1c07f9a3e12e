// ReturnVolume(result): ends a volume function (kaf-volume, kaf-volumeToDatum): prints
// "\nVolume: cut %.3f, fill %.3f, net %.3f, plan area %.3f" and gives (cut fill net area) as the
// call's result, with RSRSLT (nil and RSERR when the host cannot make the list).
#pragma once

#include "geom/surface/volume_result.h"

int ReturnVolume(const geom::VolumeResult& result);
