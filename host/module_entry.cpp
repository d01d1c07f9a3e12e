// The module's two exports and the objects that live while it is loaded: the application object
// and the per-document data manager (which registers its document reactor on construction).
#include "arxapi.h"
#include "host/doc_data.h"
#include "host/doc_data_manager.h"
#include "host/kaf20_app.h"

namespace {

Ckaf20App theApp;
AcApDataManager<CDocData> documentData;

}  // namespace

extern "C" ACRX_MODULE_EXPORT AcRx::AppRetCode acrxEntryPoint(AcRx::AppMsgCode msg, void* appId) {
    return theApp.acrxEntryPoint(static_cast<int>(msg), appId);
}

extern "C" ACRX_MODULE_EXPORT int acrxGetApiVersion() {
    return kAcRxApiVersion;
}
