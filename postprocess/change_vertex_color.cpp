#include "postprocess/change_vertex_color.h"

#include "arxapi.h"
#include "host/error_lines.h"
#include "host/progress_meter.h"
#include "host/pump_messages.h"
#include "input/entity_lookup.h"
#include "output/close_on_exit.h"
#include "postprocess/colour.h"

namespace {

constexpr const wchar_t* kMeterLabel = L"Please wait: ";

// The subdivision mesh with that handle, open for read by its id; null when the handle leads to
// no model-space subdivision mesh (an entity found of another class is closed again).
AcDbSubDMesh* OpenMesh(const std::wstring& handle) {
    AcDbEntity* entity = nullptr;
    GetEntity(entity, handle.c_str());
    if (entity == nullptr) {
        return nullptr;
    }
    const bool isMesh = entity->isA()->isDerivedFrom(AcDbSubDMesh::desc());
    const AcDbObjectId id = entity->objectId();
    entity->close();
    AcDbSubDMesh* mesh = nullptr;
    if (isMesh) {
        acdbOpenObject(mesh, id, AcDb::kForRead);
    }
    return mesh;
}

// The ramp's colour at parameter t: 0 at the first end, 1 at the second.
HslColour RampColour(const HslColour& first, const HslColour& second, double t) {
    HslColour hsl;
    hsl.hue = first.hue - (first.hue - second.hue) * t;
    hsl.saturation = first.saturation - (first.saturation - second.saturation) * t;
    hsl.lightness = first.lightness - (first.lightness - second.lightness) * t;
    return hsl;
}

}  // namespace

bool changeVertexColor(const std::vector<std::wstring>& handles, double z1, double z2,
                       const RgbColour& colour1, const RgbColour& colour2) {
    const HslColour first = RgbToHsl(colour1);
    const HslColour second = RgbToHsl(colour2);
    return ColourMeshVertices(handles, [&](double z) {
        return HslToRgb(RampColour(first, second, (z - z1) / (z2 - z1)));
    });
}

bool ColourMeshVertices(const std::vector<std::wstring>& handles,
                        const std::function<RgbColour(double)>& colourOf) {
    ProgressMeterState meter;
    StartProgressMeter(meter, kMeterLabel, static_cast<double>(handles.size()));
    EndProgressMeterOnExit endMeter;
    AcCmEntityColor colour;
    colour.setColorMethod(AcCmEntityColor::kByColor);
    AcArray<AcCmEntityColor> colours;

    const int meshCount = static_cast<int>(handles.size());
    for (int i = 1; i <= meshCount; ++i) {
        AcDbSubDMesh* mesh = OpenMesh(handles[static_cast<std::size_t>(i - 1)]);
        if (mesh == nullptr) {
            endMeter.End();
            ReportStepError(L"changeVertexColor", L"Object is not a SubDMesh!");
            return false;
        }
        {
            const CloseOnExit closeMesh(mesh);
            PumpMessagesThrottled();
            int vertexCount = 0;
            mesh->numOfVertices(vertexCount);
            acutPrintf(L"\rMesh: %i of %i, Number of vertices: %i", i, meshCount, vertexCount);
            for (int k = 0; k < vertexCount; ++k) {
                AcGePoint3d vertex;
                mesh->getVertexAt(k, vertex);
                const RgbColour rgb = colourOf(vertex.z);
                colour.setRGB(ColourChannelByte(rgb.red), ColourChannelByte(rgb.green),
                              ColourChannelByte(rgb.blue));
                colours.append(colour);
            }
            mesh->upgradeOpen();
            mesh->setVertexColorArray(colours);
        }
        colours.removeAll();
        UpdateProgressMeter(meter, kMeterLabel, static_cast<double>(i));
    }
    endMeter.End();
    return true;
}
