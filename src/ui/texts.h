#pragma once

#include <string_view>

// The prose of the two windows, kept apart from their layout.
namespace ui::texts {

inline constexpr std::string_view kAuthor = "by: the Selenial workshop";

inline constexpr std::string_view kDescription =
    "This clock counts time in seconds from the moment humans arrived on the Moon. "
    "That moment marks the boundary in history beyond which the traditional timekeeping "
    "of Earth lost its relevance.";

inline constexpr std::string_view kDisclaimer =
    "Warning: coherent measurement can be addictive. Do not let colleagues who are "
    "impaired in logic get at it.";

inline constexpr std::string_view kIntroduction =
    "Leave the legacy number systems behind. Decimal counting is a legacy of counting on "
    "fingers and toes; nothing in nature or in a computer needs ten digits. A coherent "
    "system of numbers serves both.";

inline constexpr std::string_view kHexadecimalFirst =
    "Begin with the hexadecimal format: its only prime factor is 2.";

inline constexpr std::string_view kScientificIdea =
    "Borrow the idea of scientific notation, but write the order of magnitude as a signed "
    "suffix instead of a prefix: the mantissa first, then posi- or nega- and the power of "
    "sixteen.";

inline constexpr std::string_view kExamples =
    "Examples: a day of 86400 seconds is 1.518 posi-4 seconds; an hour of E10 seconds is "
    "E.1 posi-2 seconds; a millisecond is 0.00419 or 4.19 nega-3 seconds.";

inline constexpr std::string_view kTimeUnits =
    "A minute has 60 seconds, an hour 3600 and a day 86400 in decimal; in hexadecimal they "
    "are 3C, E10 and 15180 seconds.";

inline constexpr std::string_view kHowToUse =
    "Type a decimal number into the top box on the right. The boxes below it show the same "
    "number in hexadecimal and in hexadecimal scientific form. Click the lowest box to copy "
    "its value.";

inline constexpr std::string_view kWhyCoherency =
    "Why Coherency ?\n"
    "History counted in tens and in twelves: ten fingers gave the decimal system, the twelve "
    "months and the twelve hours of day and of night came from the sky. Time still mixes "
    "both, with 60 seconds to the minute, 60 minutes to the hour and 24 hours to the day, "
    "so every conversion of time needs a table or a calculator.";

inline constexpr std::string_view kMixedUnits =
    "Mixed units do not stop at time. Distance comes in inches, feet, miles and metres, "
    "energy in calories, joules and kilowatt-hours. A space probe was lost at Mars because "
    "one team worked in pound-seconds and the other in newton-seconds. The metric system "
    "tidied up the prefixes, kilo, mega, milli, micro, but it kept the base of ten.";

inline constexpr std::string_view kPrimeFactors =
    "Ten has two prime factors, 2 and 5, so halving and doubling do not stay inside its "
    "digits. That is why scales step 1-2-5, as on the knobs of an oscilloscope: a "
    "compromise between the two factors. Sixteen halves cleanly all the way down to 1.";

}  // namespace ui::texts
