// Icons of the task-tree items by their index: the desktop theme's icon where it has one,
// else one of Qt's standard icons; items with the same index get the same icon.
#pragma once

#include <QIcon>

QIcon TaskIcon(int index);
