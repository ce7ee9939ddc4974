#pragma once

#include <QString>
#include <cstdint>
#include <functional>

class QGroupBox;
class QLineEdit;
class QPushButton;

namespace kelvane::app {

// The controls of a code frame: the frame itself, its code box and its OK button.
struct CadreCode {
    QGroupBox* cadre;
    QLineEdit* boite;
    QPushButton* ok;
};

// A wrong code typed in a code frame: the count goes up (it stops at its largest value rather than wrapping round).
// The third time the frame closes, the box is emptied and the program ends as the message announces; otherwise
// the box is emptied and OK disabled for another try.
void refuserCode(std::int16_t& nbEchecs, QString& codeSaisi, const CadreCode& controles,
                 const std::function<void()>& fermerLogiciel);

} // namespace kelvane::app
