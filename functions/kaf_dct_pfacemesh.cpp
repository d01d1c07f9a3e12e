// PLACEHOLDER until this worker is written: fails every call with nil.
#include "functions/workers.h"

int RunKafDctPfacemesh(const resbuf*) {
    acedRetNil();
    return RSERR;
}
