#include "commands/DialogButtons.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QRadioButton>

#include <vector>

QDialogButtonBox* MakeOkCancelButtons(QDialog* dialog) {
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, dialog);
    // The texts are the dialogs' own, whatever Qt translations are installed.
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("OK"));
    buttons->button(QDialogButtonBox::Ok)->setDefault(true);
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Annuler"));
    QObject::connect(buttons, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
    return buttons;
}

void TabToTickedRadio(std::initializer_list<QRadioButton*> buttons) {
    const std::vector<QRadioButton*> group(buttons);
    const auto follow = [group] {
        QRadioButton* target = nullptr;
        for (QRadioButton* button : group)
            if (button->isChecked() && button->isEnabled())
                target = button;
        for (QRadioButton* button : group)
            if (!target && button->isEnabled())
                target = button;
        for (QRadioButton* button : group)
            button->setFocusPolicy(button == target ? Qt::StrongFocus : Qt::ClickFocus);
    };
    for (QRadioButton* button : group)
        QObject::connect(button, &QRadioButton::toggled, button, follow);
    follow();
}
