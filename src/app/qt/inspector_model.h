#pragma once

#include <QAbstractListModel>
#include <cstdint>

#include "log/inspector_list.h"

namespace quillo {

// The log inspector's lines as a list model: a row per line of the engine's list,
// its text made only when a view asks for it. Follow() brings the rows up to date
// after the engine added, dropped or cleared lines.
class InspectorModel : public QAbstractListModel {
  Q_OBJECT

 public:
  InspectorModel(const InspectorList& lines, QObject* parent);

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

  // Tells the views what changed in the list since the last call.
  void Follow();

 private:
  const InspectorList& lines_;
  int shown_ = 0;  // rows the views know of
  uint64_t clears_ = 0;
  uint64_t dropped_ = 0;
};

}  // namespace quillo
