// The host API seen by the module: the only header the module's sources include for anything of
// the host. Built against the stand-in host here; a build against the real host replaces this
// folder with headers that include the host's own SDK.
#pragma once

#include "arx/ads.h"
#include "arx/app.h"
#include "arx/db.h"
#include "arx/rx.h"
#include "arx/windows.h"
