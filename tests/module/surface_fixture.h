// SurfaceTest: fixture of the surface functions' tests (kaf-contours, kaf-surfaceStatistics,
// kaf-volume, kaf-volumeToDatum), with small analytic surfaces written into the drawing as
// subdivision meshes:
//   Pyramid(): the square (0, 0) ... (10, 10) at elevation 0 rising to the apex (5, 5, 10), four
//   triangles;
//   Plane(z0, dzdx): the same square as two triangles, elevation z0 + dzdx * x.
// Handles(meshes) gives the handle list argument of meshes; HandlesOf(result) the handle texts of
// a list result; Entity(handle) the drawing's entity; EntitiesOf(result) the entities a handle
// list result names; Numbers(result) the numbers of a list result;
// LiveEntities() the drawing's entities that are not erased.
#pragma once

#include <string>
#include <vector>

#include "module_fixture.h"

class SurfaceTest : public ModuleTest {
protected:
    static std::wstring Pyramid() {
        return host().addSubDMesh({{0, 0, 0}, {10, 0, 0}, {10, 10, 0}, {0, 10, 0}, {5, 5, 10}},
                                  {{0, 1, 4}, {1, 2, 4}, {2, 3, 4}, {3, 0, 4}});
    }

    static std::wstring Plane(double z0, double dzdx) {
        return host().addSubDMesh(
            {{0, 0, z0}, {10, 0, z0 + 10 * dzdx}, {10, 10, z0 + 10 * dzdx}, {0, 10, z0}},
            {{0, 1, 2}, {0, 2, 3}});
    }

    static kafhost::LispValue Handles(const std::vector<std::wstring>& meshes) {
        return StringList(meshes);
    }

    static std::vector<std::wstring> HandlesOf(const kafhost::CallResult& result) {
        std::vector<std::wstring> handles;
        for (const kafhost::LispValue& item : result.value.items()) {
            handles.push_back(item.asString());
        }
        return handles;
    }

    static kafhost::EntityInfo Entity(const std::wstring& handle) {
        kafhost::EntityInfo entity;
        EXPECT_TRUE(host().entityInfo(handle, entity)) << kafhost::wideToUtf8(handle);
        return entity;
    }

    static std::vector<kafhost::EntityInfo> EntitiesOf(const kafhost::CallResult& result) {
        std::vector<kafhost::EntityInfo> entities;
        for (const std::wstring& handle : HandlesOf(result)) {
            entities.push_back(Entity(handle));
        }
        return entities;
    }

    static std::vector<kafhost::EntityInfo> LiveEntities() {
        std::vector<kafhost::EntityInfo> live;
        for (const kafhost::EntityInfo& entity : host().snapshot().entities) {
            if (!entity.erased) {
                live.push_back(entity);
            }
        }
        return live;
    }

    static std::vector<double> Numbers(const kafhost::CallResult& result) {
        std::vector<double> numbers;
        for (const kafhost::LispValue& item : result.value.items()) {
            numbers.push_back(item.asNumber());
        }
        return numbers;
    }
};
