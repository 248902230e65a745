// The checksum dialog driven as a user drives it: ticking algorithms, clicking
// "Calculer", "Copier" and "Fermer"; the range it sums (selection, whole
// file, edits included), and how a computation ends early (Cancel, Escape, a
// read error).
#include "EditCommandsTestSupport.h"

#include "commands/CChecksumDlg.h"
#include "display/DisplayGlobals.h"
#include "framework/CProgress.h"
#include "framework/DialogScript.h"
#include "framework/PromptScript.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressDialog>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTemporaryDir>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <unistd.h>

using edittest::NewDoc;

namespace {

struct AddressBase {
    explicit AddressBase(int hex) : m_saved(g_bHexAddress) { g_bHexAddress = hex; }
    ~AddressBase() { g_bHexAddress = m_saved; }
    int m_saved;
};

// What one opening of the dialog showed.
struct Shown {
    QString range;
    QString results;
    bool computeEnabledWithNone = true;
    bool copyEnabled = false;
};

void Click(QAbstractButton* button) {
    QTest::mouseClick(button, Qt::LeftButton);
}

// A check box takes clicks on its box and its text only, not on the rest of
// its width.
void Tick(QCheckBox* box) {
    QStyleOptionButton option;
    option.initFrom(box);
    const QRect indicator =
        box->style()->subElementRect(QStyle::SE_CheckBoxIndicator, &option, box);
    QTest::mouseClick(box, Qt::LeftButton, Qt::NoModifier, indicator.center());
}

// Shows the dialog, ticks exactly `algorithms` by clicking, clicks "Calculer",
// notes what it shows and closes it with "Fermer".
DialogRunner::ModalHandler Compute(std::vector<ChecksumAlgorithm> algorithms, Shown* shown) {
    return [=](QDialog& dialog) {
        auto* sums = qobject_cast<CChecksumDlg*>(&dialog);
        EXPECT_NE(sums, nullptr);
        if (!sums)
            return int(QDialog::Rejected);
        sums->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(sums));
        EXPECT_EQ(sums->windowTitle(), QStringLiteral("Sommes de contrôle"));
        shown->range = sums->RangeLabel()->text();
        for (const ChecksumInfo& info : ChecksumAlgorithms())
            if (sums->AlgorithmBox(info.algorithm)->isChecked())
                Tick(sums->AlgorithmBox(info.algorithm));
        shown->computeEnabledWithNone = sums->ComputeButton()->isEnabled();
        for (ChecksumAlgorithm algorithm : algorithms)
            Tick(sums->AlgorithmBox(algorithm));
        Click(sums->ComputeButton());
        shown->results = sums->ResultsEdit()->toPlainText();
        // Only checksums can be copied, not the word that there are none.
        shown->copyEnabled = sums->CopyButton()->isEnabled();
        if (shown->copyEnabled) {
            Click(sums->CopyButton());
            EXPECT_EQ(QApplication::clipboard()->text(), shown->results);
        }
        Click(sums->findChild<QPushButton*>(QStringLiteral("close")));
        EXPECT_FALSE(sums->isVisible());
        return sums->result();
    };
}

QString Expected(const std::vector<unsigned char>& bytes,
                 const std::vector<ChecksumAlgorithm>& algorithms) {
    CChecksumSet set(algorithms);
    set.Update(bytes.data(), bytes.size());
    const std::vector<std::string> values = set.Finish();
    qsizetype width = 0;
    for (ChecksumAlgorithm algorithm : algorithms)
        width = std::max(width, qsizetype(std::strlen(ChecksumInfoOf(algorithm).label)));
    QStringList lines;
    for (size_t i = 0; i < algorithms.size(); ++i)
        lines << QString::fromUtf8(ChecksumInfoOf(algorithms[i]).label).leftJustified(width) +
                     QStringLiteral("  ") + QString::fromStdString(values[i]);
    return lines.join(QLatin1Char('\n'));
}

} // namespace

TEST(ChecksumCommands, SumsTheSelectionOrTheWholeContentAsShown) {
    PromptScript prompts;
    DialogScript dialogs;
    edittest::EditDoc doc = NewDoc(gridtest::Pattern(600));
    // Edits: an inserted run and an overwritten byte, both inside the selection.
    doc.File().Seek(0x18, CFile64::begin);
    doc.File().Insert(4, 0xEE);
    doc.File().WriteAt(0x11, "\x7F", 1);
    const std::int64_t position = doc.File().GetPosition();
    const std::vector<unsigned char> content = doc.Bytes();
    const std::vector<unsigned char> selected(content.begin() + 0x10, content.begin() + 0x30);

    {
        AddressBase hex(1);
        Shown shown;
        doc.Select(0x30, 0x10); // either direction
        dialogs.Then(Compute({ChecksumAlgorithm::Crc32, ChecksumAlgorithm::Sha512}, &shown));
        ChecksumCommands::OnEditChecksums(doc.Doc(), doc.View());
        EXPECT_EQ(shown.range, QStringLiteral("Sélection, 32 octets de 0x10 à 0x2F"));
        EXPECT_FALSE(shown.computeEnabledWithNone);
        EXPECT_EQ(shown.results,
                  Expected(selected, {ChecksumAlgorithm::Crc32, ChecksumAlgorithm::Sha512}));
    }
    {
        AddressBase decimal(0);
        Shown shown;
        doc.Select(7, 7);
        dialogs.Then(Compute({ChecksumAlgorithm::Sha256}, &shown));
        ChecksumCommands::OnEditChecksums(doc.Doc(), doc.View());
        EXPECT_EQ(shown.range, QStringLiteral("Fichier entier, 604 octets de 0 à 603"));
        EXPECT_EQ(shown.results, Expected(content, {ChecksumAlgorithm::Sha256}));
        EXPECT_EQ(doc.Grid().GetCaret(), 7);
    }
    {
        Shown shown;
        edittest::EditDoc empty = NewDoc({});
        dialogs.Then(Compute({ChecksumAlgorithm::Md5, ChecksumAlgorithm::Adler32}, &shown));
        ChecksumCommands::OnEditChecksums(empty.Doc(), empty.View());
        EXPECT_EQ(shown.range, QStringLiteral("Fichier entier, 0 octet"));
        EXPECT_TRUE(shown.copyEnabled);
        EXPECT_EQ(shown.results, QStringLiteral("Adler-32  00000001\n"
                                                "MD5       d41d8cd98f00b204e9800998ecf8427e"));
    }
    EXPECT_EQ(doc.File().GetPosition(), position);
    EXPECT_EQ(prompts.Count(), 0);
    EXPECT_EQ(dialogs.Unexpected(), 0);
}

TEST(ChecksumCommands, CancelEscapeAndReadErrorsGiveNoResults) {
    QTemporaryDir dir;
    const std::string path = (dir.path() + QStringLiteral("/large.bin")).toStdString();
    { std::ofstream out(path, std::ios::binary); }
    ASSERT_EQ(::truncate(path.c_str(), std::int64_t{64} << 20), 0); // sparse, all zeros

    CProgress::SetDelayForTests(0);
    struct Restore {
        ~Restore() {
            CProgress::SetDelayForTests(-1);
            CProgress::SetObserverForTests(nullptr);
        }
    } restore;

    PromptScript prompts;
    DialogScript dialogs;
    edittest::EditDoc doc = edittest::OpenDoc(path, 0x20);
    int cancelled = 0;
    const auto cancelButton = [&](CProgress& progress) {
        if (progress.Dialog() && !progress.Cancelled()) {
            ++cancelled;
            Click(progress.Dialog()->findChild<QPushButton*>());
        }
    };
    const auto escapeKey = [&](CProgress& progress) {
        if (progress.Dialog() && !progress.Cancelled()) {
            ++cancelled;
            QTest::keyClick(progress.Dialog(), Qt::Key_Escape);
        }
    };
    for (const bool button : {true, false}) {
        CProgress::SetObserverForTests(button ? CProgress::Observer(cancelButton)
                                              : CProgress::Observer(escapeKey));
        Shown shown;
        dialogs.Then(Compute({ChecksumAlgorithm::Sha256}, &shown));
        ChecksumCommands::OnEditChecksums(doc.Doc(), doc.View());
        EXPECT_EQ(shown.results, QStringLiteral("Calcul annulé."))
            << (button ? "button" : "Escape");
    }
    EXPECT_EQ(cancelled, 2);
    EXPECT_EQ(prompts.Count(), 0);

    // Another program shortens the file under the computation: its error, no
    // results.
    CProgress::SetObserverForTests(nullptr);
    ASSERT_EQ(::truncate(path.c_str(), 100000), 0);
    Shown shown;
    dialogs.Then(Compute({ChecksumAlgorithm::Md5}, &shown));
    ChecksumCommands::OnEditChecksums(doc.Doc(), doc.View());
    EXPECT_EQ(shown.results, QString());
    EXPECT_EQ(prompts.Count(), 1);
    EXPECT_TRUE(prompts.LastText().contains(QStringLiteral("large.bin")))
        << prompts.LastText().toStdString();
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(dialogs.Unexpected(), 0);
}
