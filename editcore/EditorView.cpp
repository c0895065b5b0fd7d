#include "editcore/EditorView.h"

#include "model/Messages.h"

const char* LabelOf(Answer answer) {
    switch (answer) {
        case Answer::kYes:
            return kBtnYes;
        case Answer::kNo:
            return kBtnNo;
        case Answer::kCancel:
            return kBtnCancel;
        case Answer::kApplyMyChanges:
            return kBtnApplyMyChanges;
        case Answer::kOverwrite:
            return kBtnOverwrite;
        case Answer::kGoBack:
            return kBtnGoBack;
        case Answer::kBuildAnyway:
            return kBtnBuildAnyway;
        case Answer::kDiscard:
            return kBtnDiscard;
    }
    return "";
}
