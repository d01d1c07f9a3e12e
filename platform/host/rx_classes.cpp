// Run-time classes: AcRxObject, AcRxClass, and desc/isA of every class of the host API with
// its parent chain.
#include "arxapi.h"

AcRxObject::~AcRxObject() = default;

AcRxClass* AcRxObject::desc() {
    static AcRxClass cls(L"AcRxObject", nullptr);
    return &cls;
}

AcRxClass* AcRxObject::isA() const {
    return AcRxObject::desc();
}

bool AcRxObject::isKindOf(const AcRxClass* cls) const {
    return cls != nullptr && isA()->isDerivedFrom(cls);
}

AcRxClass::AcRxClass(const ACHAR* name, AcRxClass* parent) : name_(name), parent_(parent) {}

const ACHAR* AcRxClass::name() const {
    return name_;
}

AcRxClass* AcRxClass::myParent() const {
    return parent_;
}

bool AcRxClass::isDerivedFrom(const AcRxClass* other) const {
    for (const AcRxClass* cls = this; cls != nullptr; cls = cls->parent_) {
        if (cls == other) {
            return true;
        }
    }
    return false;
}

#define KAFHOST_WIDE_TEXT(text) L##text
#define KAFHOST_WIDEN(text) KAFHOST_WIDE_TEXT(text)

#define KAFHOST_DEFINE_CLASS(Class, Parent)                          \
    AcRxClass* Class::desc() {                                       \
        static AcRxClass cls(KAFHOST_WIDEN(#Class), Parent::desc()); \
        return &cls;                                                 \
    }                                                                \
    AcRxClass* Class::isA() const {                                  \
        return Class::desc();                                        \
    }

KAFHOST_DEFINE_CLASS(AcRxDynamicLinker, AcRxObject)
KAFHOST_DEFINE_CLASS(AcDbObject, AcRxObject)
KAFHOST_DEFINE_CLASS(AcDbEntity, AcDbObject)
KAFHOST_DEFINE_CLASS(AcDbFace, AcDbEntity)
KAFHOST_DEFINE_CLASS(AcDbPoint, AcDbEntity)
KAFHOST_DEFINE_CLASS(AcDbLine, AcDbEntity)
KAFHOST_DEFINE_CLASS(AcDbText, AcDbEntity)
KAFHOST_DEFINE_CLASS(AcDbVertex, AcDbEntity)
KAFHOST_DEFINE_CLASS(AcDbPolyFaceMeshVertex, AcDbVertex)
KAFHOST_DEFINE_CLASS(AcDbFaceRecord, AcDbVertex)
KAFHOST_DEFINE_CLASS(AcDbPolyFaceMesh, AcDbEntity)
KAFHOST_DEFINE_CLASS(AcDbSubDMesh, AcDbEntity)
KAFHOST_DEFINE_CLASS(AcDbCurve, AcDbEntity)
KAFHOST_DEFINE_CLASS(AcDbPolyline, AcDbCurve)
KAFHOST_DEFINE_CLASS(AcDb3dPolylineVertex, AcDbVertex)
KAFHOST_DEFINE_CLASS(AcDb3dPolyline, AcDbCurve)
KAFHOST_DEFINE_CLASS(AcDbSymbolTableRecord, AcDbObject)
KAFHOST_DEFINE_CLASS(AcDbBlockTableRecord, AcDbSymbolTableRecord)
KAFHOST_DEFINE_CLASS(AcDbSymbolTable, AcDbObject)
KAFHOST_DEFINE_CLASS(AcDbBlockTable, AcDbSymbolTable)
