// CDocData: the per-document record of the document data manager. The module keeps no state of
// its own per document, so the record is empty.
#pragma once

struct CDocData {};
