#pragma once

// The program's 16x16 images, drawn in code so no artwork files are needed.

#include <QIcon>

#include "qt/shell/ActionTable.h"

namespace zentabo {

QIcon ActionIcon(IconId id);

// Tab images: 0 while the page text is kept in the page store, 1 while it is not.
QIcon TabImage(int index);

}  // namespace zentabo
