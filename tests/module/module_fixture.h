// HostTest: fixture for tests of the module's own units against the stand-in host: every test
// starts from a fresh host (Host::reset): a new empty drawing, an empty command line, no faults,
// no meter, the default window tree.
//
// ModuleTest: fixture for tests that reach the module as a user does, through the stand-in host.
//
// The module (KAF_MODULE_PATH) is loaded once per test program, and loaded again before a test
// when an earlier test unloaded it. Every test starts from a fresh host, as with HostTest.
//
// Call(name, args) and CallWithChain(name, chain) call an AutoLISP function of the current
// document and check that no exception escaped the function and that no drawing object was left
// open by the call; they give the call's result. ExpectQuietResult(result, expected): the call
// succeeded (RSRSLT) with a valid result equal to expected and printed nothing.
// ExpectFailedWithNil(result, printed): the call failed (RSERR), set nil and printed exactly that.
//
// Values for arguments and results: PointList({{x, y, z}, ...}) gives a list of 3D points,
// PointList2({{x, y}, ...}) a list of 2D points, PointListOf(points) the list of points given as
// a vector, StringList(texts) a list of strings (handles, file names) and Triangle(a, b, c) a
// triangle as the result lists give it, three 3D points.
#pragma once

#include <gtest/gtest.h>

#include <array>
#include <initializer_list>
#include <string>
#include <vector>

#include "kafhost/host.h"
#include "kafhost/wide_to_utf8.h"

class HostTest : public ::testing::Test {
protected:
    static kafhost::Host& host() { return kafhost::Host::instance(); }

    void SetUp() override { host().reset(); }
};

class ModuleTest : public HostTest {
protected:
    static void EnsureModuleLoaded() {
        if (!host().loadedModules().empty()) {
            return;
        }
        std::string error;
        ASSERT_TRUE(host().loadModule(KAF_MODULE_PATH, error)) << error;
    }

    // The host starts over after a load, so that the load's own traces are not seen.
    void SetUp() override {
        EnsureModuleLoaded();
        host().reset();
    }

    static kafhost::CallResult Call(const std::wstring& name,
                                    const std::vector<kafhost::LispValue>& args = {}) {
        return Checked(host().call(name, args));
    }

    static kafhost::CallResult CallWithChain(const std::wstring& name, const resbuf* chain) {
        return Checked(host().callWithChain(name, chain));
    }

    static void ExpectQuietResult(const kafhost::CallResult& result,
                                  const kafhost::LispValue& expected) {
        ASSERT_TRUE(result.defined);
        EXPECT_EQ(result.status, RSRSLT);
        EXPECT_TRUE(result.resultSet);
        EXPECT_TRUE(result.resultValid) << kafhost::wideToUtf8(result.resultError);
        EXPECT_EQ(result.value, expected) << kafhost::wideToUtf8(kafhost::toLispText(result.value));
        EXPECT_EQ(result.printed, L"");
    }

    static void ExpectFailedWithNil(const kafhost::CallResult& result,
                                    const std::wstring& printed) {
        ASSERT_TRUE(result.defined);
        EXPECT_EQ(result.status, RSERR);
        EXPECT_TRUE(result.resultSet);
        EXPECT_TRUE(result.value.isNil());
        EXPECT_EQ(result.printed, printed);
    }

    static kafhost::LispValue PointList(std::initializer_list<std::array<double, 3>> points) {
        return PointListOf(points);
    }

    static kafhost::LispValue PointList2(std::initializer_list<std::array<double, 2>> points) {
        std::vector<kafhost::LispValue> items;
        for (const auto& p : points) {
            items.push_back(kafhost::LispValue::point(p[0], p[1]));
        }
        return kafhost::LispValue::list(items);
    }

    static kafhost::LispValue PointListOf(const std::vector<kafhost::Point3>& points) {
        std::vector<kafhost::LispValue> items;
        for (const kafhost::Point3& p : points) {
            items.push_back(kafhost::LispValue::point(p[0], p[1], p[2]));
        }
        return kafhost::LispValue::list(items);
    }

    static kafhost::LispValue StringList(const std::vector<std::wstring>& texts) {
        std::vector<kafhost::LispValue> items;
        for (const std::wstring& text : texts) {
            items.push_back(kafhost::LispValue::string(text));
        }
        return kafhost::LispValue::list(items);
    }

    static kafhost::LispValue Triangle(const kafhost::Point3& a, const kafhost::Point3& b,
                                       const kafhost::Point3& c) {
        return PointListOf({a, b, c});
    }

private:
    static kafhost::CallResult Checked(kafhost::CallResult result) {
        EXPECT_FALSE(result.exceptionEscaped)
            << std::string(result.exceptionText.begin(), result.exceptionText.end());
        EXPECT_EQ(result.openObjectsAfter, 0u) << DescribeOpenObjects(result);
        return result;
    }

    static std::string DescribeOpenObjects(const kafhost::CallResult& result) {
        std::string text = "left open:";
        for (const std::wstring& description : result.openObjectsAfterDescriptions) {
            text += " [" + kafhost::wideToUtf8(description) + "]";
        }
        return text;
    }
};
