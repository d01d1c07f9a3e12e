// HostFixture: every test starts from a fresh stand-in host (Host::reset), with message boxes
// kept off stderr. Helpers open the current drawing's blocks and text conversions for messages.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "kafhost/host.h"

class HostFixture : public ::testing::Test {
protected:
    kafhost::Host& host = kafhost::Host::instance();

    void SetUp() override {
        host.reset();
        host.setMessageBoxEcho(false);
    }

    static AcDbDatabase* database() { return acdbHostApplicationServices()->workingDatabase(); }

    // Opens a block ("*Model_Space" or "*Paper_Space") in the mode; the block table is closed
    // again at once.
    static AcDbBlockTableRecord* openBlock(const ACHAR* name, AcDb::OpenMode mode) {
        AcDbBlockTable* table = nullptr;
        if (database()->getSymbolTable(table, AcDb::kForRead) != Acad::eOk) {
            return nullptr;
        }
        AcDbBlockTableRecord* record = nullptr;
        const Acad::ErrorStatus status = table->getAt(name, record, mode);
        table->close();
        return status == Acad::eOk ? record : nullptr;
    }

    static AcDbObjectId idOf(const std::wstring& handle) {
        AcDbObjectId id;
        EXPECT_EQ(database()->getAcDbObjectId(id, false, AcDbHandle(handle.c_str())), Acad::eOk);
        return id;
    }

    static std::string narrow(const std::wstring& text) {
        return std::string(text.begin(), text.end());
    }
};
