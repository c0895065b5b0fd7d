// The program's icons, looked up by resource ID.
#pragma once

#include <QIcon>

// The icon with resource ID `id` in every size the resources hold, or a null
// icon when there is none.
QIcon LoadIconResource(int id);
