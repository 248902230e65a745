// The results panel under a view: how many occurrences "Rechercher tout"
// found, and a list of them. A row clicked or entered selects its occurrence
// in the view; the offsets of the selected rows can be copied as text. Once
// the content is edited the list says it is out of date and refuses to jump
// (its offsets may no longer be where the bytes are) until searched again.
#pragma once

#include "commands/CFindAllModel.h"
#include "commands/FindAllResults.h"

#include <QWidget>

class QCheckBox;
class QLabel;
class QListView;
class QPushButton;

class CFindAllPanel : public QWidget {
    Q_OBJECT
public:
    explicit CFindAllPanel(QWidget* parent = nullptr);
    ~CFindAllPanel() override;

    void ShowResults(CFindAllResults results, CFindAllFileSource file, bool hexAddress,
                     int charSet);
    const CFindAllResults& Results() const;
    void SetAddressBase(bool hexAddress);
    void SetOutOfDate(bool outOfDate);
    bool IsOutOfDate() const { return m_bOutOfDate; }
    bool IsHighlighting() const;

    // "N occurrences", with what is missing from the list said.
    QString CountText() const;
    // The offsets of the selected rows, in list order, one a line.
    QString SelectedOffsetsText() const;

    QListView* List() const { return m_pList; }
    QLabel* CountLabel() const { return m_pCount; }
    QLabel* Banner() const { return m_pBanner; }
    QPushButton* SearchAgainButton() const { return m_pSearchAgain; }
    QCheckBox* HighlightBox() const { return m_pHighlight; }
    QPushButton* CopyButton() const { return m_pCopy; }
    QPushButton* CloseButton() const { return m_pClose; }

signals:
    // A row was chosen while the list is up to date.
    void matchChosen(qint64 offset, qint64 length);
    void searchAgainRequested();
    // The highlighting of the matches in the view should change (closing the
    // panel turns it off).
    void highlightChanged();
    // Shown with new results, or closed: the view lays itself out again.
    void resultsShown();
    void closed();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Choose(int row);
    void CopySelectedOffsets();

    CFindAllModel* m_pModel;
    QLabel* m_pCount;
    QCheckBox* m_pHighlight;
    QPushButton* m_pCopy;
    QPushButton* m_pClose;
    QWidget* m_pBannerRow;
    QLabel* m_pBanner;
    QPushButton* m_pSearchAgain;
    QListView* m_pList;
    bool m_bOutOfDate = false;
};
