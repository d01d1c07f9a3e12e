// AcApDataManager<T>: a T per open document, kept while the module is loaded. Registers itself
// as a reactor of the host's document manager when constructed and erases a document's entry
// when the document is about to be destroyed. When destroyed, it removes itself as a reactor if
// the host's document manager still exists.
#pragma once

#include <map>

#include "arxapi.h"

template <typename T>
class AcApDataManager : public AcApDocManagerReactor {
public:
    AcApDataManager() {
        if (AcApDocManager* manager = acDocManagerPtr()) {
            manager->addReactor(this);
        }
    }

    ~AcApDataManager() override {
        if (AcApDocManager* manager = acDocManagerPtr()) {
            manager->removeReactor(this);
        }
        dataByDocument_.clear();
    }

    AcApDataManager(const AcApDataManager&) = delete;
    AcApDataManager& operator=(const AcApDataManager&) = delete;

    void documentToBeDestroyed(AcApDocument* document) override { dataByDocument_.erase(document); }

private:
    std::map<AcApDocument*, T> dataByDocument_;
};
