#include "events_table_widget.h"

#include <QBrush>
#include <QColor>
#include <QFontMetrics>
#include <QHeaderView>
#include <QStyle>
#include <QTableWidget>

namespace vek1 {

namespace {
const QColor kDiffers(255, 240, 120);  // front and rear apart beyond the tolerance
const QColor kErrorText(200, 0, 0);    // a notch where the gear cannot close
const QColor kBeyondReference(255, 190, 140);  // apart from the reference beyond the tolerance
const QColor kReferenceText(105, 105, 105);    // the reference set's row

// "Cut-off Front (%)" as "Cut-off Front" over "(%)": the columns stay narrow.
QString twoLineHeader(const std::string& header) {
  QString text = QString::fromStdString(header);
  const qsizetype unit = text.lastIndexOf(QStringLiteral(" ("));
  if (unit > 0) text[unit] = QLatin1Char('\n');
  return text;
}
}  // namespace

void setEventsHeader(QTableWidget* table, const EventsTableView& view) {
  const int columns = static_cast<int>(view.header.size());
  if (table->columnCount() != columns) table->setColumnCount(columns);
  for (int c = 0; c < columns; ++c) {
    const QString text = twoLineHeader(view.header[static_cast<std::size_t>(c)]);
    QTableWidgetItem* item = table->horizontalHeaderItem(c);
    if (item && item->text() == text) continue;
    if (!item) {
      item = new QTableWidgetItem;
      table->setHorizontalHeaderItem(c, item);
    }
    item->setText(text);
    if (static_cast<std::size_t>(c) < view.headerTips.size())
      item->setToolTip(QString::fromStdString(view.headerTips[static_cast<std::size_t>(c)]));
  }
}

void fillEventsTable(QTableWidget* table, const EventsTableView& view) {
  setEventsHeader(table, view);
  const int columns = table->columnCount();
  const int rows = static_cast<int>(view.rows.size());
  table->setRowCount(rows);
  for (int r = 0; r < rows; ++r)
    for (int c = 0; c < columns && c < static_cast<int>(view.rows[r].size()); ++c) {
      const EventsCell& cell = view.rows[r][c];
      QTableWidgetItem* item = table->item(r, c);
      if (!item) {
        item = new QTableWidgetItem;
        item->setFlags(item->flags() & ~Qt::ItemIsEditable);
        item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        table->setItem(r, c, item);
      }
      item->setText(QString::fromStdString(cell.text));
      item->setToolTip(QString::fromStdString(cell.tip));
      item->setBackground(cell.beyondReference ? QBrush(kBeyondReference)
                          : cell.differs       ? QBrush(kDiffers)
                                               : QBrush());
      item->setForeground(cell.error       ? QBrush(kErrorText)
                          : cell.reference ? QBrush(kReferenceText)
                                           : QBrush());
    }
}

void growEventsColumns(QTableWidget* table) {
  const QFontMetrics cells(table->font());
  const QFontMetrics header(table->horizontalHeader()->font());
  // The cell's own margins, as the style draws them, on both sides, and a pixel to spare.
  const int pad = 2 * (table->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, table) + 1) + 4;
  const int headerPad = 2 * table->style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, table) + 4;
  for (int c = 0; c < table->columnCount(); ++c) {
    int need = 0;
    if (const QTableWidgetItem* h = table->horizontalHeaderItem(c))
      for (const QString& line : h->text().split(QLatin1Char('\n')))
        need = std::max(need, header.horizontalAdvance(line) + headerPad);
    for (int r = 0; r < table->rowCount(); ++r)
      if (const QTableWidgetItem* item = table->item(r, c))
        need = std::max(need, cells.horizontalAdvance(item->text()) + pad);
    if (need > table->columnWidth(c)) table->setColumnWidth(c, need);
  }
}

}  // namespace vek1
