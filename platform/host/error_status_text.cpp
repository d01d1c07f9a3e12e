// acadErrorStatusText: the enumerator's name of a status.
#include <cstddef>

#include "arxapi.h"

const ACHAR* acadErrorStatusText(Acad::ErrorStatus status) {
    static const ACHAR* const kNames[] = {
        L"eOk",
        L"eNotImplementedYet",
        L"eNotApplicable",
        L"eInvalidInput",
        L"eInvalidIndex",
        L"eKeyNotFound",
        L"eDuplicateKey",
        L"eNullObjectId",
        L"eNullEntityPointer",
        L"eUnknownHandle",
        L"eWasErased",
        L"eWasOpenedForWrite",
        L"eWasOpenedForRead",
        L"eNotOpenForRead",
        L"eNotOpenForWrite",
        L"eAtMaxReaders",
        L"eAlreadyInDb",
        L"eNotInDatabase",
        L"eNotThatKindOfClass",
        L"eWrongObjectType",
        L"eInvalidLayer",
        L"eOutOfMemory",
        L"eLockViolation",
        L"eOnLockedLayer",
        L"eNoDatabase",
        L"eInvalidOpenState",
        L"eNotInBlock",
        L"eDegenerateGeometry",
        L"eHadMultipleReaders",
        L"eWasNotErased",
    };
    const auto index = static_cast<std::size_t>(status);
    if (index < sizeof kNames / sizeof kNames[0]) {
        return kNames[index];
    }
    return L"eUnknownErrorStatus";
}
