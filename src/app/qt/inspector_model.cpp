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
  if (!index.isValid() || index.row() >= shown_) return {};
  if (role == Qt::DisplayRole) {
    return QString::fromStdString(lines_[static_cast<size_t>(index.row())].Format());
  }
  if (role == Qt::SizeHintRole) return row_size_;
  return {};
}

void InspectorModel::Follow() {
  const int size = static_cast<int>(lines_.size());
  const uint64_t drops = lines_.Dropped() - dropped_;
  const bool cleared = lines_.Clears() != clears_;
  const bool allDropped = drops > 0 && drops >= static_cast<uint64_t>(shown_);
  if (cleared || allDropped) {
    beginResetModel();
    clears_ = lines_.Clears();
    dropped_ = lines_.Dropped();
    shown_ = size;
    endResetModel();
    return;
  }
  if (drops > 0) {
    beginRemoveRows(QModelIndex(), 0, static_cast<int>(drops) - 1);
    shown_ -= static_cast<int>(drops);
    dropped_ = lines_.Dropped();
    endRemoveRows();
  }
  if (size > shown_) {
    beginInsertRows(QModelIndex(), shown_, size - 1);
    shown_ = size;
    endInsertRows();
  }
}

}  // namespace quillo
