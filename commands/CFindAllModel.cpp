#include "commands/CFindAllModel.h"

#include "storage/CPieceFile64.h"

#include <algorithm>

CFindAllModel::CFindAllModel(QObject* parent) : QAbstractListModel(parent) {}

CFindAllModel::~CFindAllModel() = default;

void CFindAllModel::SetResults(CFindAllResults results, CFindAllFileSource file, bool hexAddress,
                               int charSet) {
    beginResetModel();
    m_results = std::move(results);
    m_file = std::move(file);
    m_bHexAddress = hexAddress;
    m_nCharSet = charSet;
    endResetModel();
}

void CFindAllModel::SetAddressBase(bool hexAddress) {
    if (hexAddress == m_bHexAddress)
        return;
    m_bHexAddress = hexAddress;
    if (rowCount() > 0)
        emit dataChanged(index(0), index(rowCount() - 1));
}

std::int64_t CFindAllModel::OffsetAt(int row) const {
    if (row < 0 || row >= rowCount())
        return -1;
    return m_results.m_offsets[static_cast<size_t>(row)];
}

int CFindAllModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_results.m_offsets.size());
}

QVariant CFindAllModel::data(const QModelIndex& index, int role) const {
    if (role != Qt::DisplayRole || !index.isValid() || index.row() >= rowCount())
        return {};
    return RowText(index.row());
}

QString CFindAllModel::RowText(int row) const {
    const std::int64_t offset = OffsetAt(row);
    const int matchLength =
        std::min(static_cast<int>(m_results.m_pattern.size()), kShownMatchBytes);
    const int before = static_cast<int>(std::min<std::int64_t>(offset, kContextBytes));
    std::uint8_t bytes[kContextBytes + kShownMatchBytes + kContextBytes];
    int count = 0;
    try {
        if (const CPieceFile64* file = m_file ? m_file() : nullptr)
            count = static_cast<int>(
                file->ReadAt(offset - before, bytes, before + matchLength + kContextBytes));
    } catch (...) {
        // A row is drawn from inside the paint: no error may leave it. The
        // offset alone still says where the occurrence was.
        count = 0;
    }
    if (count <= before)
        return QString::fromStdString(FormatResultOffset(offset, m_bHexAddress));
    return QString::fromStdString(
        FormatResultRow(offset, m_bHexAddress, bytes, count, before, matchLength, m_nCharSet));
}
