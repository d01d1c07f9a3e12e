// CDocData: what the module keeps per open document. Nothing yet.
#pragma once

struct CDocData {};
