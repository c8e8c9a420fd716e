#include "editor/desktop.h"

namespace tal {

const char* controlName(Control control) {
    switch (control) {
        case Control::DBGrid1:
            return "DBGrid1";
        case Control::SpeedButton4:
            return "SpeedButton4";
        case Control::SpeedButton9:
            return "SpeedButton9";
        case Control::SpeedButton60:
            return "SpeedButton60";
        case Control::EditAddLine:
            return "SpeedButton1";
        case Control::DBNavigator0:
            return "DBNavigator0";
        case Control::DBNavigator1:
            return "DBNavigator1";
        case Control::ScrollBox0:
            return "ScrollBox0";
        case Control::ScrollBox1:
            return "ScrollBox1";
        case Control::ProgDBText:
            return "ProgDBText";
        case Control::StringDBText:
            return "StringDBText";
        case Control::DBRadioGroup01:
            return "DBRadioGroup01";
        case Control::DBRadioGroup03:
            return "DBRadioGroup03";
        case Control::DBEdit02:
            return "DBEdit02";
        case Control::DBEdit04:
            return "DBEdit04";
        case Control::DBEdit05:
            return "DBEdit05";
        case Control::DBEdit06:
            return "DBEdit06";
        case Control::DBEdit1:
            return "DBEdit1";
        case Control::DBEdit2:
            return "DBEdit2";
        case Control::DBRadioGroup3:
            return "DBRadioGroup3";
        case Control::DBEdit4:
            return "DBEdit4";
        case Control::DBRadioGroup5:
            return "DBRadioGroup5";
        case Control::DBEdit8:
            return "DBEdit8";
        case Control::DBEdit6:
            return "DBEdit6";
        case Control::DBEdit7:
            return "DBEdit7";
        case Control::DBRadioGroup9:
            return "DBRadioGroup9";
        case Control::DBEdit10:
            return "DBEdit10";
        case Control::DBEdit11:
            return "DBEdit11";
        case Control::DBRadioGroup12:
            return "DBRadioGroup12";
        case Control::DBRadioGroup13:
            return "DBRadioGroup13";
        case Control::DBEdit14:
            return "DBEdit14";
        case Control::DBEdit15:
            return "DBEdit15";
        case Control::DBEdit16:
            return "DBEdit16";
        case Control::DBEdit17:
            return "DBEdit17";
        case Control::DBEdit18:
            return "DBEdit18";
        case Control::DBRadioGroup19:
            return "DBRadioGroup19";
    }
    return "?";
}

MessageAnswer NullDesktop::showMessage(const std::string&, const std::string&, MessageIcon,
                                       MessageButtons buttons) {
    switch (buttons) {
        case MessageButtons::Ok:
            return MessageAnswer::Ok;
        case MessageButtons::YesNo:
        case MessageButtons::YesNoDefaultNo:
            return MessageAnswer::No;
        case MessageButtons::OkCancel:
            return MessageAnswer::Cancel;
    }
    return MessageAnswer::Ok;
}

}  // namespace tal
