// PLACEHOLDER until this worker is written: fails every call with nil.
#include "functions/workers.h"

int RunKafDctPfacemeshWithLoadCsv(const resbuf*) {
    acedRetNil();
    return RSERR;
}
