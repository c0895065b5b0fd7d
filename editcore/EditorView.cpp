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

std::vector<std::string> LabelsOf(const Question& question) {
    std::vector<std::string> labels;
    for (const Answer answer : question.answers) labels.emplace_back(LabelOf(answer));
    return labels;
}

int EscapeIndexOf(const Question& question) {
    for (std::size_t i = 0; i < question.answers.size(); ++i) {
        if (question.answers[i] == question.escape) return static_cast<int>(i);
    }
    return 0;
}

Answer AnswerAt(const Question& question, int index) {
    const bool offered = index >= 0 && index < static_cast<int>(question.answers.size());
    return offered ? question.answers[static_cast<std::size_t>(index)] : question.escape;
}
