// Resource identifiers of the dialogs.
#pragma once
#define IDB_PROGRAM_PICTURE 200
