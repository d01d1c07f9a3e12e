// CloseOnExit(object): closes an open drawing object (null: nothing) when the scope ends, so that
// every path out of an operation closes it exactly once.
#pragma once

#include "arxapi.h"

class CloseOnExit {
public:
    explicit CloseOnExit(AcDbObject* object) : object_(object) {}
    ~CloseOnExit() {
        if (object_ != nullptr) {
            object_->close();
        }
    }
    CloseOnExit(const CloseOnExit&) = delete;
    CloseOnExit& operator=(const CloseOnExit&) = delete;

private:
    AcDbObject* object_;
};
