/* Resource identifiers, shared by brelix.rc and the C++ code (the resource compiler
   understands only preprocessor definitions). */
#pragma once

#define IDI_BRELIX 1
#define IDB_GO_AT_REST 201
#define IDB_GO_PRESSED 202
