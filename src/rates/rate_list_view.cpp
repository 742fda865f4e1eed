#include "rates/rate_list_view.h"

#include <QTreeWidget>

#include "rates/rate_table.h"

namespace kestrova {

namespace {

QString Text(const std::string& utf8) {
    return QString::fromStdString(utf8);
}

}  // namespace

void ShowRateRows(QTreeWidget& list, const RateTable& table) {
    const int selected = SelectedRateRow(list);
    const bool sameCount = static_cast<std::size_t>(list.topLevelItemCount()) == table.Count();
    list.clear();
    QList<QTreeWidgetItem*> items;
    for (const RateRow& row : table.Rows()) {
        items.append(new QTreeWidgetItem(QStringList{
            Text(row.number), Text(row.start), Text(row.end), Text(row.price), Text(row.day)}));
    }
    list.addTopLevelItems(items);
    if (sameCount && selected >= 0 && selected < items.size())
        list.setCurrentItem(items.at(selected));
    else
        list.setCurrentItem(nullptr);
}

int SelectedRateRow(const QTreeWidget& list) {
    const QList<QTreeWidgetItem*> selected = list.selectedItems();
    if (selected.size() != 1) return -1;
    return list.indexOfTopLevelItem(selected.front());
}

}  // namespace kestrova
