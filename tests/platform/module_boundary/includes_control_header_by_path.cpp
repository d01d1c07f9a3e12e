// Module code that reaches for the stand-in host's control header by its path in the source
// tree: the header refuses module code, so this does not compile.
#include "platform/include/kafhost/host.h"
