// The fields of the ZW column map, numbered as the map orders them (1-based).
#pragma once

namespace quvela::zw::field {

inline constexpr int Number = 1, Name = 2, Sex = 3, Birth = 4, WorkStart = 5, ServiceStart = 6, Post = 7,
                     PostSince = 8, OldTotal = 9, OldGrade = 10, OldPostWage = 11, OldStep = 12, OldStepWage = 13,
                     OldTenPercent = 14, OldOther = 15, NewTotal = 16, NewGrade = 17, NewPostWage = 18,
                     NewStep = 19, NewStepWage = 20, NewTenPercent = 21, NewOther = 22, Increase = 23,
                     BackPay = 24, Remarks = 25, PrintFlag = 26, Education = 27, Reason = 28, PreviousPost = 29,
                     PreviousPostSince = 30, OpinionTemplate = 31;

} // namespace quvela::zw::field
