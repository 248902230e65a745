// "Sommes de contrôle": the checksums of the selection, or of the whole file
// when nothing is selected. The user ticks the algorithms and clicks
// "Calculer"; the results stay in a read-only box to select and copy.
#pragma once

#include "commands/Checksums.h"
#include "framework/DialogRunner.h"

#include <QString>

#include <cstdint>
#include <vector>

class CPieceFile64;
class CQuexoDoc;
class IHexView;
class QCheckBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;

class CChecksumDlg : public CDialog {
    Q_OBJECT
public:
    // Reads `length` bytes of `file` from `start`; the file must outlive the
    // dialog, which is modal, so the content cannot change under it.
    CChecksumDlg(const CPieceFile64& file, std::int64_t start, std::int64_t length, bool wholeFile,
                 QWidget* parent = nullptr);
    ~CChecksumDlg() override;

    QLabel* RangeLabel() const { return m_pRange; }
    QCheckBox* AlgorithmBox(ChecksumAlgorithm algorithm) const;
    QPushButton* ComputeButton() const { return m_pCompute; }
    QPushButton* CopyButton() const { return m_pCopy; }
    QPlainTextEdit* ResultsEdit() const { return m_pResults; }

    // "Sélection, 16 octets de 0x10 à 0x1F" in the view's address base.
    static QString RangeText(std::int64_t start, std::int64_t length, bool wholeFile, bool hex);

private:
    void Compute();
    void UpdateButtons();
    std::vector<ChecksumAlgorithm> Chosen() const;

    const CPieceFile64& m_file;
    std::int64_t m_nStart;
    std::int64_t m_nLength;
    QLabel* m_pRange;
    std::vector<QCheckBox*> m_boxes; // in the order of ChecksumAlgorithms()
    QPushButton* m_pCompute;
    QPushButton* m_pCopy;
    QPlainTextEdit* m_pResults;
    bool m_bHaveResults = false; // "Copier" has checksums to copy
};

namespace ChecksumCommands {
// The command of the Edition menu: the dialog over the view's selection, or
// over the whole content when the selection is empty.
void OnEditChecksums(CQuexoDoc& doc, IHexView& view);
} // namespace ChecksumCommands
