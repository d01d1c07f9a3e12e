// The host API seen by the module: the only header the module's sources include for anything of
// the host. Built against the stand-in host here; a build against the real host replaces this
// folder with headers that include the host's own SDK.
#pragma once

#include "kafhost/windows_api.h"
#include "kafhost/ads_api.h"
#include "kafhost/rx_api.h"
#include "kafhost/db_api.h"
#include "kafhost/arx_app.h"
