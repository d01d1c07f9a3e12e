// The AutoLISP bridge and the command line: result-buffer chains and their type codes, defining
// and calling functions, setting results, printing, the status-bar progress meter and the
// window-message filters.
#pragma once

#include <cstdint>

#include "arx/windows.h"

using ACHAR = wchar_t;
using ads_real = double;
using ads_point = ads_real[3];

// Result-buffer type codes.
constexpr short RTNONE = 5000;
constexpr short RTREAL = 5001;
constexpr short RTPOINT = 5002;
constexpr short RTSHORT = 5003;
constexpr short RTANG = 5004;
constexpr short RTSTR = 5005;
constexpr short RTENAME = 5006;
constexpr short RTPICKS = 5007;
constexpr short RTORINT = 5008;
constexpr short RT3DPOINT = 5009;
constexpr short RTLONG = 5010;
constexpr short RTVOID = 5014;
constexpr short RTLB = 5016;
constexpr short RTLE = 5017;
constexpr short RTDOTE = 5018;
constexpr short RTNIL = 5019;
constexpr short RTDXF0 = 5020;
constexpr short RTT = 5021;

// Status codes of host calls.
constexpr int RTNORM = 5100;
constexpr int RTERROR = -5001;
constexpr int RTCAN = -5002;
constexpr int RTREJ = -5003;

// What an AutoLISP function's entry returns to the interpreter.
constexpr int RSRSLT = 1;  // the result has been set
constexpr int RSERR = 3;   // the call failed

union ads_u_val {
    ads_real rreal;
    ads_real rpoint[3];
    short rint;
    ACHAR* rstring;
    std::int32_t rlong;
};

struct resbuf {
    struct resbuf* rbnext;
    short restype;
    union ads_u_val resval;
};

// A new node of the given type, all values zero and no successor; null when out of memory.
// RTSTR nodes start with a null rstring: the caller stores a malloc'd copy, which acutRelRb frees.
struct resbuf* acutNewRb(int type);
// Frees a whole chain, with the malloc'd strings of its RTSTR nodes.
int acutRelRb(struct resbuf* rb);

// Defines the AutoLISP function name with the function code in the current document.
int acedDefun(const ACHAR* name, int funcCode);
// Removes the definition of name (with that code) from the current document.
int acedUndef(const ACHAR* name, int funcCode);
// Makes the interpreter call entry directly for the function with that code.
int acedRegFunc(int (*entry)(), int funcCode);
// The code of the function being invoked.
int acedGetFunCode();
// The argument chain of the call in progress (owned by the host; null when there is none).
struct resbuf* acedGetArgs();
// Sets the call's result to a copy of the chain (list nodes RTLB ... RTLE make a list).
int acedRetList(const struct resbuf* rb);
int acedRetT();
int acedRetNil();

// Prints on the command line. The format is wide; "%s" takes a wide string. Gives RTNORM.
int acutPrintf(const ACHAR* format, ...);

// Shows the status-bar progress meter with a label and a range; gives 0 on success.
int acedSetStatusBarProgressMeter(const ACHAR* label, int minPos, int maxPos);
// Moves the meter; gives -1 when no meter is shown.
int acedSetStatusBarProgressMeterPos(int pos);
// Removes the meter and restores the status bar.
void acedRestoreStatusBar();

// A filter the host offers every window message to before handling it; true swallows it.
using AcedFilterWinMsgFn = bool (*)(MSG*);
// Both give true (non-zero) on success.
bool acedRegisterFilterWinMsg(const AcedFilterWinMsgFn pfn);
bool acedRemoveFilterWinMsg(const AcedFilterWinMsgFn pfn);

// The host's application object.
CWinApp* acedGetAcadWinApp();
