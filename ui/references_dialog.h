// Edit > References...: what the reference finder made of the clipboard
// text, one row per reference (authors, year, title, container; its whole
// text as the row's tooltip), with buttons that copy all of them, or the
// rows selected, in each export format. A reference nothing could be read
// in is shown as such, with its text.
#pragma once

#include <QDialog>
#include <functional>
#include <vector>

#include "engine/engine.h"

class QTableWidget;
class QPushButton;

namespace tf::ui {

class ReferencesDialog final : public QDialog {
 public:
  // Writes references in a format, as one output for the clipboard.
  using Export = std::function<std::u16string(const std::vector<reference::Reference>&, reference::Format)>;

  ReferencesDialog(std::vector<reference::Reference> references, Export exportReferences, QWidget* parent);

  QTableWidget* Table() const { return m_table; }
  // The button that copies all references (or the selected ones) in `format`.
  QPushButton* CopyButton(reference::Format format, bool selected) const;

 private:
  void Copy(reference::Format format, bool selected);

  std::vector<reference::Reference> m_references;
  Export m_export;
  QTableWidget* m_table;
  std::vector<QPushButton*> m_all, m_selected;  // by format
};

}  // namespace tf::ui
