#include "ui/references_dialog.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <array>
#include <set>

#include "platform/platform.h"

namespace tf::ui {
namespace {

namespace pf = tf::platform;

struct FormatName {
  reference::Format format;
  const char* name;
};
constexpr std::array<FormatName, 3> kFormats = {{
    {reference::Format::BibTeX, "BibTeX"},
    {reference::Format::Ris, "RIS"},
    {reference::Format::CslJson, "CSL-JSON"},
}};

}  // namespace

ReferencesDialog::ReferencesDialog(std::vector<reference::Reference> references, Export exportReferences,
                                   QWidget* parent)
    : QDialog(parent), m_references(std::move(references)), m_export(std::move(exportReferences)),
      m_table(new QTableWidget(this)) {
  const int count = static_cast<int>(m_references.size());
  setWindowTitle(count == 1 ? QStringLiteral("1 reference found") : QStringLiteral("%1 references found").arg(count));
  resize(900, 420);

  m_table->setColumnCount(4);
  m_table->setHorizontalHeaderLabels(
      {QStringLiteral("Authors"), QStringLiteral("Year"), QStringLiteral("Title"), QStringLiteral("Container")});
  m_table->setRowCount(count);
  m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
  m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
  m_table->setSelectionMode(QAbstractItemView::ExtendedSelection);
  m_table->setWordWrap(false);
  m_table->setAccessibleName(QStringLiteral("References found"));
  for (int row = 0; row < count; ++row) {
    const engine::ReferenceSummary s = engine::Summarise(m_references[static_cast<size_t>(row)]);
    const QString whole = pf::ToQString(s.text);
    // Nothing read in it: the row says so and shows the text, so that no
    // reference disappears from the list.
    const std::array<QString, 4> cells =
        s.recognised ? std::array<QString, 4>{pf::ToQString(s.authors), pf::ToQString(s.year), pf::ToQString(s.title),
                                              pf::ToQString(s.container)}
                     : std::array<QString, 4>{QStringLiteral("(not recognised)"), QString(), whole, QString()};
    for (int column = 0; column < 4; ++column) {
      auto* item = new QTableWidgetItem(cells[static_cast<size_t>(column)]);
      item->setToolTip(whole);
      m_table->setItem(row, column, item);
    }
  }
  // The title takes the room; the others as wide as they need, within
  // reason.
  m_table->resizeColumnsToContents();
  for (int column : {0, 3}) m_table->setColumnWidth(column, std::min(m_table->columnWidth(column), 260));
  m_table->horizontalHeader()->setSectionResizeMode(2, QHeaderView::Stretch);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(m_table);
  for (bool selected : {false, true}) {
    auto* row = new QHBoxLayout;
    row->addWidget(new QLabel(selected ? QStringLiteral("Copy the selected references as:")
                                       : QStringLiteral("Copy all references as:"),
                              this));
    for (const FormatName& f : kFormats) {
      auto* button = new QPushButton(QString::fromLatin1(f.name), this);
      button->setAutoDefault(false);
      button->setAccessibleName(QStringLiteral("Copy %1 references as %2")
                                    .arg(selected ? QStringLiteral("the selected") : QStringLiteral("all"),
                                         QString::fromLatin1(f.name)));
      connect(button, &QPushButton::clicked, this, [this, format = f.format, selected] { Copy(format, selected); });
      row->addWidget(button);
      (selected ? m_selected : m_all).push_back(button);
    }
    row->addStretch();
    layout->addLayout(row);
  }
  auto* close = new QPushButton(QStringLiteral("Close"), this);
  connect(close, &QPushButton::clicked, this, &QDialog::accept);
  auto* bottom = new QHBoxLayout;
  bottom->addStretch();
  bottom->addWidget(close);
  layout->addLayout(bottom);

  const auto selectionChanged = [this] {
    const bool any = !m_table->selectionModel()->selectedRows().isEmpty();
    for (QPushButton* b : m_selected) b->setEnabled(any);
  };
  connect(m_table->selectionModel(), &QItemSelectionModel::selectionChanged, this, selectionChanged);
  selectionChanged();
  for (QPushButton* b : m_all) b->setEnabled(count > 0);
}

QPushButton* ReferencesDialog::CopyButton(reference::Format format, bool selected) const {
  for (size_t k = 0; k < kFormats.size(); ++k)
    if (kFormats[k].format == format) return (selected ? m_selected : m_all)[k];
  return nullptr;
}

void ReferencesDialog::Copy(reference::Format format, bool selected) {
  std::vector<reference::Reference> chosen;
  if (selected) {
    std::set<int> rows;
    for (const QModelIndex& index : m_table->selectionModel()->selectedRows()) rows.insert(index.row());
    for (int row : rows) chosen.push_back(m_references[static_cast<size_t>(row)]);
  } else {
    chosen = m_references;
  }
  if (chosen.empty()) return;
  pf::SetClipboardText(m_export(chosen, format));
}

}  // namespace tf::ui
