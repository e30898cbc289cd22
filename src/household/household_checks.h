#pragma once

#include "ui/dialogs.h"

#include <QString>

#include <optional>

namespace fenlark {

// What the checks of 保存 look at, read off the household form.
struct HouseholdFormState {
    bool unitChosen = false;
    bool categoryChosen = false;
    std::optional<bool> familyPlanning; // nothing: neither 是 nor 否 chosen
    std::optional<bool> medicalCare;
    std::optional<bool> pensionInsurance;
    QString pensionAmountText;
    QString health; // caption of the chosen button, empty when none
    int memberRows = 0;
    QString address;
    bool offence = false;
    QString offenceKind;
    int headCount = 0;
    bool namelessHead = false; // a row marked "户主" with an empty name
    bool partyMember = false;
    QString partyPost;
};

struct CheckFailure {
    QString message;
    MessageIcon icon = MessageIcon::Error;
    bool focusPensionAmount = false; // the hint moves the input focus to 社保缴纳金额
};

// The first of the checks, in their order, the form fails; nothing when it passes them all.
// (The card numbers are checked while the members are packed.)
std::optional<CheckFailure> firstFailedCheck(const HouseholdFormState &form);

} // namespace fenlark
