#pragma once

#include "judging/placingcard.h"
#include "shell/editform.h"

#include <array>
#include <optional>

class QComboBox;
class QLabel;
class QLineEdit;
class QStandardItemModel;

// One class's judges' cards in one division: ten place selectors per judge, each offering
// "N/A" and the riders entered in the class. Submit replaces the class's stored placings.
// Untouched, the form reads the class again when the user comes back to it from another program.
class FrmPlaceAssign : public EditForm
{
    Q_OBJECT

public:
    FrmPlaceAssign(AppState &app, QWidget *owner, QList<QWidget *> openers, QWidget *focusAfter);

    // Fills the form and shows it; false (after telling the user why) when the class has no
    // judges or no riders in the division, or the meet could not be read. The caller then
    // drops the form, which gives its openers back.
    bool Initialize_Placings(const QString &division, int classNumber);

    const std::optional<PlacingCard> &card() const { return m_card; }

protected:
    bool checksPass() override;
    bool write() override;
    bool hasChanges() const override { return !m_card || chosen() != m_card->stored(); }
    void readAgain() override;

private:
    // Shows the judges, the riders to choose from and the stored placings of the card.
    void showCard(PlacingCard card);
    PlacingCard::Card chosen() const;

    std::optional<PlacingCard> m_card;
    QStandardItemModel *m_lines;
    QLabel *m_division;
    QLabel *m_class;
    std::array<QLineEdit *, PlacingCard::Columns> m_judges{};
    std::array<std::array<QComboBox *, PlacingCard::Places>, PlacingCard::Columns> m_places{};
};
