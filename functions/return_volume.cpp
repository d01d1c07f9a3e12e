#include "functions/return_volume.h"

#include "arxapi.h"
#include "host/result_lists.h"

int ReturnVolume(const geom::VolumeResult& result) {
    acutPrintf(L"\nVolume: cut %.3f, fill %.3f, net %.3f, plan area %.3f", result.cut, result.fill,
               result.net, result.area);
    return ReturnList(NodesToResultList({NewRealNode(result.cut), NewRealNode(result.fill),
                                         NewRealNode(result.net), NewRealNode(result.area)}));
}
