#include "programming/ProgrammingQuestions.h"

#include "programming/ConfigPreparation.h"

namespace veskar {

std::vector<std::string_view> MissingItemQuestions(const Image& image)
{
    std::vector<std::string_view> questions;
    if (image.gen.ackCode.length == 0)
        questions.push_back(kNoAckCodeQuestion);
    if (image.gen.accessCode.length == 0)
        questions.push_back(kNoAccessCodeQuestion);
    if (!PhonePresent(image))
        questions.push_back(kNoPhoneQuestion);
    return questions;
}

} // namespace veskar
