#pragma once

class QTreeWidget;

namespace kestrova {

class RateTable;

// The rows of `table` in the rate list. The selected row stays selected when the row count is
// unchanged (an edit), otherwise none is.
void ShowRateRows(QTreeWidget& list, const RateTable& table);
// Index of the selected rate row, -1 when none is selected.
int SelectedRateRow(const QTreeWidget& list);

}  // namespace kestrova
