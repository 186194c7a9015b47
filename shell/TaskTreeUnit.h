// The task tree of a project window: its items with their exact captions and icons, what each
// item opens, and what an item needs before it can open.
#pragma once

#include <QString>

class TEngineDataStruct;

enum class TTaskKind {
  Group,          // a heading; opens nothing
  InputPage,      // an input page
  TorsionPage,    // the torsional data page: only with the torsional calculation
  DesignRunView,  // a view of run 1 (first result group)
  TorsionView,    // a view of the torsional model
  ResonanceView,  // a view of the run chosen in the run selector
  Summary,        // the strength summary over all runs
};

struct TTaskItem {
  int Level;
  const char* Caption;  // exact; the items of the resonance group end with one blank
  int Icon;             // items sharing an index share an icon
  TTaskKind Kind;
};

// The tree in order.
const TTaskItem* TaskItems();
int TaskItemCount();

// What the item still needs before it opens ("" when it can open): the calculation flag of
// the general page, or a calculation. runs: runs of the last calculation; frequencies: the
// natural frequencies computed.
QString MissingRequirement(TTaskKind kind, const TEngineDataStruct& data, int runs, int frequencies);
