// Making one chosen host call fail. What each failed call gives the module is checked through the
// module's own calls in its fault-injection tests.
#include "host_fixture.h"

namespace {

using kafhost::HostCall;

class FaultInjection : public HostFixture {};

TEST_F(FaultInjection, FailsExactlyTheChosenOccurrence) {
    host.failCall(HostCall::kGetSymbolTable, 2, Acad::eOutOfMemory);
    AcDbBlockTable* table = nullptr;
    ASSERT_EQ(database()->getSymbolTable(table, AcDb::kForRead), Acad::eOk);
    table->close();
    EXPECT_EQ(database()->getSymbolTable(table, AcDb::kForRead), Acad::eOutOfMemory);
    ASSERT_EQ(database()->getSymbolTable(table, AcDb::kForRead), Acad::eOk);
    table->close();
    EXPECT_EQ(host.callCount(HostCall::kGetSymbolTable), 3u);
    // Cleared faults fail nothing.
    host.failCall(HostCall::kGetSymbolTable);
    host.clearFaults();
    ASSERT_EQ(database()->getSymbolTable(table, AcDb::kForRead), Acad::eOk);
    table->close();
    EXPECT_EQ(host.openObjectCount(), 0u);
}

}  // namespace
