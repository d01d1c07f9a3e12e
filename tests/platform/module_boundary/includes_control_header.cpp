// Module code that reaches for the stand-in host's control header by its usual name: not on the
// module's include path, so this does not compile.
#include "kafhost/host.h"
