// The rows of the results panel: a virtual list over the offsets found. A
// row's text is made when the list asks for it, from a few bytes read around
// the occurrence, so the list costs the 8 bytes of each offset and no more.
#pragma once

#include "commands/FindAllResults.h"

#include <QAbstractListModel>

#include <functional>

class CPieceFile64;

// The document's file as it is now (null while it has none): asked at each
// read, so a file the document replaced or closed is never read.
using CFindAllFileSource = std::function<const CPieceFile64*()>;

class CFindAllModel : public QAbstractListModel {
    Q_OBJECT
public:
    explicit CFindAllModel(QObject* parent = nullptr);
    ~CFindAllModel() override;

    void SetResults(CFindAllResults results, CFindAllFileSource file, bool hexAddress, int charSet);
    void SetAddressBase(bool hexAddress);
    bool IsHexAddress() const { return m_bHexAddress; }
    const CFindAllResults& Results() const { return m_results; }
    std::int64_t OffsetAt(int row) const;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

private:
    QString RowText(int row) const;

    CFindAllResults m_results;
    CFindAllFileSource m_file;
    bool m_bHexAddress = true;
    int m_nCharSet = 0;
};
