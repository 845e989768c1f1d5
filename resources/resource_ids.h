/* Resource identifiers, shared by brelix.rc and the C++ code (the resource compiler
   understands only preprocessor definitions). */
#pragma once

#define IDI_BRELIX 1

/* Pictures, stored as bitmaps (BITMAP) that GDI draws as they are. */
#define IDP_MAIL 301
#define IDP_WEB_SITE 302
#define IDP_DONATE 303
#define IDP_GO_AT_REST 304
#define IDP_GO_PRESSED 305
#define IDP_WATERMARK 306
