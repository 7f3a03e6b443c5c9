#include "app/qt/inspector_model.h"

#include <QString>

namespace quillo {

InspectorModel::InspectorModel(const InspectorList& lines, QObject* parent)
    : QAbstractListModel(parent),
      lines_(lines),
      shown_(static_cast<int>(lines.size())),
      clears_(lines.Clears()),
      dropped_(lines.Dropped()) {}

int InspectorModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : shown_;
}

QVariant InspectorModel::data(const QModelIndex& index, int role) const {
  // The list may have been cleared since the view last heard of it (a nested event
  // loop can paint before Follow runs): the list itself says what exists.
  if (!index.isValid() || index.row() >= shown_ ||
      static_cast<size_t>(index.row()) >= lines_.size())
    return {};
  if (role == Qt::DisplayRole) {
    return QString::fromStdString(lines_[static_cast<size_t>(index.row())].Format());
  }
  return {};
}

void InspectorModel::Follow() {
  const int size = static_cast<int>(lines_.size());
  const uint64_t drops = lines_.Dropped() - dropped_;
  if (lines_.Clears() != clears_ || size < shown_) {
    beginResetModel();
    clears_ = lines_.Clears();
    dropped_ = lines_.Dropped();
    shown_ = size;
    endResetModel();
    return;
  }
  // Lines dropped at the front shift every row's line; removing rows at the top of
  // a list this long would cost the views time in proportion to its length, so
  // the rows stay and the views are told their lines changed.
  if (drops > 0) {
    dropped_ = lines_.Dropped();
    if (shown_ > 0) emit dataChanged(index(0), index(shown_ - 1), {Qt::DisplayRole});
  }
  if (size > shown_) {
    beginInsertRows(QModelIndex(), shown_, size - 1);
    shown_ = size;
    endInsertRows();
  }
}

}  // namespace quillo
