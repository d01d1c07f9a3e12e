#include "output/create_annotations.h"

#include <cmath>
#include <cwchar>
#include <memory>

#include "output/append_all_or_none.h"
#include "output/writer_steps.h"

namespace {

std::unique_ptr<AcDbEntity> NewAnnotation(const Annotation& item) {
    if (!item.isText) {
        return std::make_unique<AcDbPoint>(item.position);
    }
    auto text = std::make_unique<AcDbText>(item.position, item.text.c_str(), AcDbObjectId(),
                                           item.height, item.rotation);
    text->setHorizontalMode(item.horizontal);
    text->setVerticalMode(item.vertical);
    text->setAlignmentPoint(item.position);
    return text;
}

}  // namespace

int CreateAnnotations(const std::vector<Annotation>& items, const wchar_t* layer,
                      const wchar_t* meterLabel, std::vector<std::wstring>& handles) {
    return AppendAllOrNone(
        items.size(), meterLabel, L"CreateAnnotations",
        [&](std::size_t i) -> std::unique_ptr<AcDbEntity> {
            std::unique_ptr<AcDbEntity> entity = NewAnnotation(items[i]);
            entity->setDatabaseDefaults();
            if (!SetLayerReported(*entity, layer, L"CreateAnnotations:setLayer")) {
                entity.reset();
            }
            return entity;
        },
        handles);
}

std::wstring LevelText(double elevation, int decimals) {
    wchar_t text[512];
    std::swprintf(text, sizeof text / sizeof text[0], L"%.*f", decimals, elevation);
    std::wstring level = text;
    // A level just below zero that rounds to zero reads "0.00", not "-0.00".
    if (level.size() > 1 && level[0] == L'-' &&
        level.find_first_not_of(L"-0.") == std::wstring::npos) {
        level.erase(0, 1);
    }
    return level;
}
