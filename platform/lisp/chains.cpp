// Argument values to chains, result chains to values, copies of chains, and ChainBuilder.
#include <cstdlib>
#include <cwchar>
#include <limits>
#include <new>
#include <stdexcept>

#include "kafhost/lisp_value.h"
#include "platform/lisp/result_buffer_nodes.h"

namespace kafhost {

resbuf* newStringNode(const std::wstring& text) {
    resbuf* node = newNode(RTSTR);
    if (node == nullptr) {
        throw std::bad_alloc();
    }
    auto* copy = static_cast<wchar_t*>(std::malloc((text.size() + 1) * sizeof(wchar_t)));
    if (copy == nullptr) {
        std::free(node);
        throw std::bad_alloc();
    }
    std::wmemcpy(copy, text.c_str(), text.size() + 1);
    node->resval.rstring = copy;
    return node;
}

void ChainDeleter::operator()(resbuf* chain) const {
    freeChain(chain);
}

namespace {

resbuf* checkedNode(int type) {
    resbuf* node = newNode(type);
    if (node == nullptr) {
        throw std::bad_alloc();
    }
    return node;
}

bool isPointList(const LispValue& value) {
    const auto& items = value.items();
    if (value.kind() != LispValue::Kind::kList || (items.size() != 2 && items.size() != 3)) {
        return false;
    }
    for (const LispValue& item : items) {
        if (!item.isNumber()) {
            return false;
        }
    }
    return true;
}

const wchar_t* typeName(short type) {
    switch (type) {
        case RTDOTE:
            return L"RTDOTE";
        case RTENAME:
            return L"RTENAME";
        case RTPICKS:
            return L"RTPICKS";
        case RTVOID:
            return L"RTVOID";
        default:
            return nullptr;
    }
}

}  // namespace

ChainBuilder& ChainBuilder::append(resbuf* node) {
    if (last_ == nullptr) {
        chain_.reset(node);
    } else {
        last_->rbnext = node;
    }
    last_ = node;
    return *this;
}

ChainBuilder& ChainBuilder::lb() {
    return node(RTLB);
}
ChainBuilder& ChainBuilder::le() {
    return node(RTLE);
}
ChainBuilder& ChainBuilder::nil() {
    return node(RTNIL);
}
ChainBuilder& ChainBuilder::t() {
    return node(RTT);
}
ChainBuilder& ChainBuilder::node(short type) {
    return append(checkedNode(type));
}
ChainBuilder& ChainBuilder::str(const std::wstring& text) {
    return append(newStringNode(text));
}

ChainBuilder& ChainBuilder::point(double x, double y) {
    resbuf* node = checkedNode(RTPOINT);
    node->resval.rpoint[0] = x;
    node->resval.rpoint[1] = y;
    return append(node);
}

ChainBuilder& ChainBuilder::point3(double x, double y, double z) {
    resbuf* node = checkedNode(RT3DPOINT);
    node->resval.rpoint[0] = x;
    node->resval.rpoint[1] = y;
    node->resval.rpoint[2] = z;
    return append(node);
}

ChainBuilder& ChainBuilder::shortInt(short value) {
    resbuf* node = checkedNode(RTSHORT);
    node->resval.rint = value;
    return append(node);
}

ChainBuilder& ChainBuilder::longInt(std::int32_t value) {
    resbuf* node = checkedNode(RTLONG);
    node->resval.rlong = value;
    return append(node);
}

ChainBuilder& ChainBuilder::real(double value) {
    resbuf* node = checkedNode(RTREAL);
    node->resval.rreal = value;
    return append(node);
}

ChainBuilder& ChainBuilder::values(const std::vector<LispValue>& values) {
    for (const LispValue& value : values) {
        switch (value.kind()) {
            case LispValue::Kind::kNil:
                nil();
                break;
            case LispValue::Kind::kT:
                t();
                break;
            case LispValue::Kind::kInteger:
                if (value.asInteger() >= std::numeric_limits<short>::min() &&
                    value.asInteger() <= std::numeric_limits<short>::max()) {
                    shortInt(static_cast<short>(value.asInteger()));
                } else {
                    longInt(value.asInteger());
                }
                break;
            case LispValue::Kind::kReal:
                real(value.asReal());
                break;
            case LispValue::Kind::kString:
                str(value.asString());
                break;
            case LispValue::Kind::kSymbol:
                throw std::invalid_argument("a symbol has no result-buffer type");
            case LispValue::Kind::kList: {
                const auto& items = value.items();
                if (isPointList(value) && items.size() == 2) {
                    point(items[0].asNumber(), items[1].asNumber());
                } else if (isPointList(value)) {
                    point3(items[0].asNumber(), items[1].asNumber(), items[2].asNumber());
                } else {
                    lb();
                    this->values(items);
                    le();
                }
                break;
            }
        }
    }
    return *this;
}

Chain ChainBuilder::build() {
    last_ = nullptr;
    return std::move(chain_);
}

Chain valuesToChain(const std::vector<LispValue>& values) {
    return ChainBuilder().values(values).build();
}

bool chainToValue(const resbuf* chain, LispValue& value, std::wstring* error) {
    std::vector<std::vector<LispValue>> open(1);
    auto fail = [error](const std::wstring& text) {
        if (error != nullptr) {
            *error = text;
        }
        return false;
    };
    for (const resbuf* node = chain; node != nullptr; node = node->rbnext) {
        const ads_u_val& v = node->resval;
        switch (node->restype) {
            case RTLB:
                open.emplace_back();
                break;
            case RTLE: {
                if (open.size() == 1) {
                    return fail(L"RTLE without its RTLB");
                }
                std::vector<LispValue> items = std::move(open.back());
                open.pop_back();
                open.back().push_back(LispValue::list(std::move(items)));
                break;
            }
            case RTPOINT:
                open.back().push_back(LispValue::point(v.rpoint[0], v.rpoint[1]));
                break;
            case RT3DPOINT:
                open.back().push_back(LispValue::point(v.rpoint[0], v.rpoint[1], v.rpoint[2]));
                break;
            case RTSTR:
                open.back().push_back(LispValue::string(v.rstring != nullptr ? v.rstring : L""));
                break;
            case RTSHORT:
                open.back().push_back(LispValue::integer(v.rint));
                break;
            case RTLONG:
                open.back().push_back(LispValue::integer(v.rlong));
                break;
            case RTREAL:
                open.back().push_back(LispValue::real(v.rreal));
                break;
            case RTNIL:
                open.back().push_back(LispValue::nil());
                break;
            case RTT:
                open.back().push_back(LispValue::t());
                break;
            default: {
                const wchar_t* name = typeName(node->restype);
                return fail(
                    L"node of type " +
                    (name != nullptr ? std::wstring(name) : std::to_wstring(node->restype)) +
                    L" in a result");
            }
        }
    }
    if (open.size() > 1) {
        return fail(L"RTLB without its RTLE");
    }
    std::vector<LispValue>& items = open.front();
    if (items.empty()) {
        value = LispValue::nil();
    } else if (items.size() == 1) {
        value = std::move(items.front());
    } else {
        value = LispValue::list(std::move(items));
    }
    return true;
}

Chain copyChain(const resbuf* chain) {
    Chain copy;
    resbuf* last = nullptr;
    for (const resbuf* node = chain; node != nullptr; node = node->rbnext) {
        resbuf* clone;
        if (node->restype == RTSTR && node->resval.rstring != nullptr) {
            clone = newStringNode(node->resval.rstring);
        } else if (node->restype == RTSTR) {
            clone = checkedNode(RTSTR);
        } else {
            clone = checkedNode(node->restype);
            clone->resval = node->resval;
        }
        if (last == nullptr) {
            copy.reset(clone);
        } else {
            last->rbnext = clone;
        }
        last = clone;
    }
    return copy;
}

std::vector<short> chainTypes(const resbuf* chain) {
    std::vector<short> types;
    for (const resbuf* node = chain; node != nullptr; node = node->rbnext) {
        types.push_back(node->restype);
    }
    return types;
}

}  // namespace kafhost
