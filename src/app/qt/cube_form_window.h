#pragma once

#include <QSize>
#include <functional>
#include <string>

#include "app/qt/form_window.h"
#include "log/cube_form.h"
#include "log/inspector_list.h"

class QTableView;

namespace quillo {

class InspectorModel;

// The log inspector TCubeForm: the form window with its picture as the background
// and, inside ListBox5, a view over the engine's inspector lines that makes the
// text of a line only when the line is shown.
class CubeFormWindow : public FormWindow {
  Q_OBJECT

 public:
  CubeFormWindow(CubeForm& cubeForm, const InspectorList& lines, ControlEventSink sink,
                 std::function<void()> afterEvent, std::string programDir,
                 QWidget* transientParent);

  void Sync() override;

  // The view showing the lines, inside ListBox5.
  QTableView* ListView() const { return list_view_; }

 private:
  void MakeListView();

  CubeForm& cube_form_;
  const InspectorList& lines_;
  InspectorModel* model_ = nullptr;  // owned as a Qt child
  QTableView* list_view_ = nullptr;  // owned as a Qt child
  QSize shown_picture_size_;
  bool following_ = true;  // the view shows the end of the list
};

}  // namespace quillo
