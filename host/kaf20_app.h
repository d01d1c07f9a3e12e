// Ckaf20App: the module's application object. Serves the host's messages through the framework
// (initialise, document load and unload, invoke-function) with the module's AutoLISP function
// table; it has no server components, custom classes or commands.
#pragma once

#include "arxapi.h"

class Ckaf20App : public AcRxArxApp {
public:
    Ckaf20App();
    void RegisterServerComponents() override;
};
