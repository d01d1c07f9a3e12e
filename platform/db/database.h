// kafhost::Database: one drawing in memory. It owns its objects (the block table, the blocks
// "*Model_Space" and "*Paper_Space", and the entities appended to them), keeps them by handle,
// gives handles (never reused: each new one is above every handle used before), and keeps the
// layer list (layer "0" always first).
//
// Fixed handles: block table 1, model space 2, paper space 3; new objects start at 0x20.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <unordered_map>
#include <vector>

#include "arxapi.h"
#include "kafhost/drawing_snapshot.h"

namespace kafhost {

// A drawing has given its last handle. The module reports the text as a failure of the
// function that asked for one.
class HandlesExhausted : public std::runtime_error {
public:
    HandlesExhausted();
};

class Database : public AcDbDatabase {
public:
    static constexpr std::uint64_t kBlockTableHandle = 1;
    static constexpr std::uint64_t kFirstFreeHandle = 0x20;
    static constexpr std::size_t kModelSpace = 0;
    static constexpr std::size_t kPaperSpace = 1;

    struct Block {
        std::wstring name;
        AcDbBlockTableRecord* record = nullptr;
        // In drawing order; null where an entity was deleted by mistake instead of erased.
        std::vector<AcDbEntity*> entities;
    };

    Database();
    ~Database() override;
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    Acad::ErrorStatus getSymbolTable(AcDbBlockTable*& table, AcDb::OpenMode mode) override;
    Acad::ErrorStatus getAcDbObjectId(AcDbObjectId& id, bool createIfNotFound,
                                      const AcDbHandle& handle, Adesk::UInt32 xRefId) override;

    // The next handle; throws HandlesExhausted rather than give one out twice.
    std::uint64_t allocateHandle();
    std::uint64_t nextHandle() const { return nextHandle_; }
    // Makes sure later handles are above this one.
    void reserveHandle(std::uint64_t handle);
    // Whether an object or sub-entity of this drawing has the handle.
    bool handleInUse(std::uint64_t handle) const;

    // The object (not a sub-entity) with the handle, or null.
    AcDbObject* object(std::uint64_t handle) const;
    // The polyface mesh that has a sub-entity with the handle, or null.
    AcDbPolyFaceMesh* subentityOwner(std::uint64_t handle, bool& faceRecord,
                                     std::uint32_t& index) const;

    AcDbBlockTable* blockTable() const { return blockTable_; }
    std::vector<Block>& blocks() { return blocks_; }
    const std::vector<Block>& blocks() const { return blocks_; }
    // The block of a record of this drawing, or null.
    Block* blockOf(const AcDbBlockTableRecord* record);
    // The block with that name (any case), or null.
    Block* findBlock(const wchar_t* name);

    // Puts a new entity into a block with the handle (0: the next one). The entity becomes
    // resident and open for write; a polyface mesh's sub-entities get their handles.
    void addEntity(Block& block, AcDbEntity& entity, std::uint64_t handle);
    // Forgets an object that was deleted while it was in the drawing.
    void forget(AcDbObject& object);
    // Records that a sub-entity of a polyface mesh in the drawing has the handle (its storage
    // has it already), so that subentityOwner finds it.
    void noteSubentityHandle(AcDbPolyFaceMesh& mesh, std::uint64_t handle);

    // The DXF file the drawing was read from (null for others); saving keeps what it holds.
    const std::shared_ptr<const DxfOrigin>& dxfOrigin() const { return dxfOrigin_; }
    void setDxfOrigin(std::shared_ptr<const DxfOrigin> origin) { dxfOrigin_ = std::move(origin); }

    const std::vector<LayerInfo>& layers() const { return layers_; }
    // Adds a layer whose name (any case) the drawing does not have yet.
    void addLayer(const LayerInfo& layer);
    // The layer with that name (any case), or null; a search in the index of names.
    const LayerInfo* findLayer(const std::wstring& name) const;

private:
    void addFixedObject(AcDbObject& object, std::uint64_t handle, std::uint64_t owner);

    std::uint64_t nextHandle_ = kFirstFreeHandle;
    std::unordered_map<std::uint64_t, AcDbObject*> objects_;
    AcDbBlockTable* blockTable_ = nullptr;
    std::vector<Block> blocks_;
    // Polyface meshes by the first handle of each run of their sub-entities' handles.
    std::map<std::uint64_t, AcDbPolyFaceMesh*> subentityRuns_;
    std::vector<LayerInfo> layers_;
    // Each layer's position in layers_ by its name in upper case.
    std::map<std::wstring, std::size_t> layerIndex_;
    std::shared_ptr<const DxfOrigin> dxfOrigin_;
};

// The drawing of a live database, or null for one that is gone (or null).
Database* liveDatabase(const AcDbDatabase* database);
// Names compared without regard to case.
bool sameNameIgnoringCase(const std::wstring& a, const wchar_t* b);

}  // namespace kafhost
