#pragma once

// The main window: its controls in their fixed places, the handlers that give
// them life, and the state the handlers share (N and the part list). The text
// logic itself lives in src/text and knows nothing of widgets.

#include <QWidget>
#include <array>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

class QLineEdit;
class QPushButton;
class QuietLineEdit;
class QuietTextArea;
class SilentComboBox;

class TBrevio_F : public QWidget
{
    Q_OBJECT

public:
    static constexpr int kCompactHeight = 120;
    static constexpr int kExpandedHeight = 260;

    explicit TBrevio_F(QWidget *parent = nullptr);
    ~TBrevio_F() override;

    // Characters per message.
    std::int32_t charactersPerMessage() const { return N; }
    // Locale text, index 0 holding part 1.
    const std::vector<std::string> &parts() const { return m_parts; }

    // The controls, owned by the window.
    QuietTextArea *const MM_SMS;
    QLineEdit *const ED_Anzahl;
    QPushButton *const BT_Loeschen;
    QPushButton *const BT_Kopieren;
    QPushButton *const BT_Haexler;
    QuietTextArea *const MM_neu;
    SilentComboBox *const CB_Auswahl;
    QPushButton *const BT_Copy;
    QLineEdit *const ED_Anz;
    QuietLineEdit *const ED_AnzZeichen;
    QPushButton *const BT_Info;

protected:
    void changeEvent(QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void placeControls();
    void setUpControls();
    void connectHandlers();

    void makeCompact();
    void makeExpanded();
    void setLowerRowReachable(bool reachable);

    void FormCreate();
    void MM_SMSChange();
    void ED_AnzZeichenChange();
    void BT_HaexlerClick();
    void CB_AuswahlChange();
    void MM_NeuChange();
    void BT_LoeschenClick();
    void BT_KopierenClick();
    void BT_CopyClick();
    void BT_InfoClick();

    std::int32_t N = 120;
    std::vector<std::string> m_parts;
    // The controls below the compact window's edge, with the focus they take
    // while they can be seen.
    const std::array<std::pair<QWidget *, Qt::FocusPolicy>, 4> m_lowerRow;
};

// The one main window of the run.
extern TBrevio_F *Brevio_F;
