// The result views of the task tree: created once for the program and registered by the
// captions of their task-tree items.
#pragma once

class QWidget;
struct TShellShared;

void RegisterResultViews(TShellShared& shared, QWidget* owner);
