// SurfaceTest: fixture of the surface functions' tests (kaf-contours, kaf-surfaceStatistics,
// kaf-volume, kaf-volumeToDatum), with small analytic surfaces written into the drawing as
// subdivision meshes:
//   Pyramid(): the square (0, 0) ... (10, 10) at elevation 0 rising to the apex (5, 5, 10), four
//   triangles;
//   Plane(z0, dzdx): the same square as two triangles, elevation z0 + dzdx * x.
// EntitiesOf(result): the drawing's entities named by a handle list result. LiveEntities(): the
// drawing's entities that are not erased. ExpectNumbers(result, expected, tolerance): the result
// is a list of numbers each within tolerance of the expected one.
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

    static std::vector<kafhost::EntityInfo> EntitiesOf(const kafhost::CallResult& result) {
        std::vector<kafhost::EntityInfo> entities;
        for (const kafhost::LispValue& handle : result.value.items()) {
            EXPECT_TRUE(host().entityInfo(handle.asString(), entities.emplace_back()));
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

    static void ExpectNumbers(const kafhost::CallResult& result,
                              const std::vector<double>& expected, double tolerance) {
        EXPECT_EQ(result.status, RSRSLT);
        const std::vector<kafhost::LispValue>& items = result.value.items();
        ASSERT_EQ(items.size(), expected.size());
        for (std::size_t i = 0; i < items.size(); ++i) {
            EXPECT_NEAR(items[i].asNumber(), expected[i], tolerance) << "item " << i;
        }
    }
};
