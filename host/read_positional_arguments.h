// ReadPositionalArguments(args, count, step, read): walks the first count arguments of a call in
// order. read(position, cursor) checks the argument at cursor (positions from 1) and gives an
// error message, or null when it is accepted; it may move cursor inside the argument (a handle
// list leaves it on its closing RTLE, or null when the chain ended inside the list). The first
// bad argument, or a chain that ends before count arguments ("Too few arguments!"), is reported
// with ReportFunctionError under step (nil is set); gives false then, true when all were read.
#pragma once

#include "arxapi.h"
#include "host/report_function_error.h"

template <typename Read>
bool ReadPositionalArguments(const resbuf* args, int count, const wchar_t* step, Read read) {
    const resbuf* cursor = args;
    for (int position = 1; position <= count; ++position) {
        if (cursor == nullptr) {
            ReportFunctionError(step, L"Too few arguments!");
            return false;
        }
        if (const wchar_t* error = read(position, cursor)) {
            ReportFunctionError(step, error);
            return false;
        }
        if (cursor == nullptr) {
            ReportFunctionError(step, L"Too few arguments!");
            return false;
        }
        cursor = cursor->rbnext;
    }
    return true;
}
