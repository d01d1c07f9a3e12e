#include "output/set_layer_reported.h"

#include "host/error_lines.h"

bool SetLayerReported(AcDbEntity& entity, const wchar_t* layer, const wchar_t* step) {
    if (layer == nullptr) {
        return true;
    }
    const Acad::ErrorStatus status = entity.setLayer(layer, true, false);
    if (status != Acad::eOk) {
        ReportStepError(step, status);
        return false;
    }
    return true;
}
