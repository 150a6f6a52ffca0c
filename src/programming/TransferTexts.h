#pragma once

// Every text the transfers show, exactly as the user sees it (leading and
// trailing blanks included). Texts followed by a number end where the number goes.

#include <string_view>

namespace veskar::texts {

// Message box captions.
inline constexpr std::string_view kCaptionNone = "";
inline constexpr std::string_view kCaptionFileError = "File Error";
inline constexpr std::string_view kCaptionWarning = "WARNING";

// Port.
inline constexpr std::string_view kErrorOpeningPort = "Error opening COM port";
inline constexpr std::string_view kCannotOpenCfg = " CANNOT OPEN .CFG FILE ";

// Link, command and data steps.
inline constexpr std::string_view kSettingUpLink = "Setting up communications link";
inline constexpr std::string_view kNoResponseRetry = "No response - retry ";
inline constexpr std::string_view kStartingSecondPass = "Communications Failure - Starting second pass.";
inline constexpr std::string_view kCheckConnection = "Communications Failure - Check connection.";
inline constexpr std::string_view kTransmittingPacket = "Transmitting packet ";
inline constexpr std::string_view kOf = " of ";
inline constexpr std::string_view kWaitingForPacket = "Waiting for packet ";
inline constexpr std::string_view kReceivingPacket = "Receiving packet ";
inline constexpr std::string_view kReceivedPacket = "Received packet ";
inline constexpr std::string_view kDataTransferFromUnit = "Data transfer from Corvane VWM";
inline constexpr std::string_view kTransferFailedAtPacket = "Transfer failed at packet number ";
inline constexpr std::string_view kSuccess = "Success";
// Not long-standing texts: the user can stop a transfer, and is told what a stop
// leaves behind, before (the question's second line) and after.
inline constexpr std::string_view kTransferStopped = "Transfer stopped - nothing was changed.";
inline constexpr std::string_view kReadStopped = "Transfer stopped - nothing read was kept and no file was written.";
inline constexpr std::string_view kStoppedConfigPartial =
    "Transfer stopped - the unit holds an incomplete configuration: write it again.";
inline constexpr std::string_view kStoppedVocabPartial =
    "Transfer stopped - the unit holds an incomplete vocabulary and no voices: write the vocabulary again.";
inline constexpr std::string_view kStoppedVoicesPartial =
    "Transfer stopped - the unit holds incomplete voices: write them again.";
inline constexpr std::string_view kStopChangesNothing = "The unit and your files are left as they were.";
inline constexpr std::string_view kStopLeavesConfigPartial =
    "The unit has already taken part of the new configuration: stopping now leaves it incomplete. "
    "Let the transfer finish.";
inline constexpr std::string_view kStopLeavesVocabPartial =
    "The unit has already taken part of the new vocabulary and its voices are erased: stopping now "
    "leaves it incomplete. Let the transfer finish.";
inline constexpr std::string_view kStopLeavesVoicesPartial =
    "The unit has already taken part of the new voices: stopping now leaves them incomplete. "
    "Let the transfer finish.";
// Not long-standing: the second line when the port itself failed during a transfer.
inline constexpr std::string_view kPortWentAway = "The port went away";
// Not long-standing: the second line of a failure on the line, saying what it showed.
inline constexpr std::string_view kLineSilent =
    "No byte came back from the unit: check that it is switched on, the cable, and that this is its port.";
inline constexpr std::string_view kLineNoise =
    "Bytes came back, but never a frame: a wrong line speed, noise, or another kind of device on this port.";
// Follows "N of M".
inline constexpr std::string_view kLineDamaged =
    " replies came damaged (bad checksum or cut short): check the cable and keep it clear of interference.";
inline constexpr std::string_view kLineOtherAnswers =
    "Whole frames came back, but not the acknowledge expected: another device is on this port, or the unit "
    "is busy with something else.";
inline constexpr std::string_view kLineEchoes =
    "What was sent came straight back: the line echoes (a loop-back plug, or a modem or adapter set to echo) "
    "and the unit does not answer.";
inline constexpr std::string_view kLineWentDead =
    "The unit answered at first, then the line went dead partway: check the cable's plugs and the unit's power.";

// Configuration.
inline constexpr std::string_view kDatabaseTransferred = "Database transferred to the Corvane VWM";
inline constexpr std::string_view kConfigurationRead = "Configuration data read from the Corvane VWM";

// Vocabulary.
inline constexpr std::string_view kVocabWarning = " Writing the vocabulary will destroy all of the stored "
                                                  "voices in the Corvane VWM!    Do you want to proceed?";
inline constexpr std::string_view kVocabAreYouSure = "          ARE YOU SURE?          ";
inline constexpr std::string_view kVocabFilter = "Vocabulary files (*.bin)|*.bin|";
inline constexpr std::string_view kVocabExtension = "bin";
inline constexpr std::string_view kVocabDefaultName = "voc91.bin";
inline constexpr std::string_view kCannotOpenVocab = " CANNOT OPEN VOCABULARY FILE ";
// Not long-standing texts: a file can be too large for the packet numbers, or fail mid-way.
inline constexpr std::string_view kVocabNotValid = " VOCABULARY FILE IS NOT VALID ";
inline constexpr std::string_view kVocabTooLarge = " VOCABULARY FILE IS TOO LARGE ";
inline constexpr std::string_view kCannotReadVocab = " CANNOT READ VOCABULARY FILE ";
inline constexpr std::string_view kCannotReadVoiceFile = " CANNOT READ VOICE MESSAGE FILE ";
inline constexpr std::string_view kVocabTransferred = "Vocab transferred to the Corvane VWM";
// The spelling is the one users have always seen.
inline constexpr std::string_view kVocabSuccess = "Vocab succesfully transferred to the Corvane VWM";
inline constexpr std::string_view kVocabFailedNoComms = "Vocab transfer FAILED - no communications.";
inline constexpr std::string_view kVocabFailed = "Vocab transfer FAILED.";

// Voices.
inline constexpr std::string_view kVoiceFilter = "Voice files (*.msg)|*.msg|";
inline constexpr std::string_view kVoiceExtension = "msg";
inline constexpr std::string_view kVoiceDefaultName = "veskar.msg";
inline constexpr std::string_view kCannotOpenVoiceFile = " CANNOT OPEN VOICE MESSAGE FILE ";
inline constexpr std::string_view kVoiceFileNotValid = " VOICE MESSAGE FILE IS NOT VALID ";
inline constexpr std::string_view kCannotOpenVoiceTemp = " CANNOT OPEN voice.tmp FILE ";
// Not one of the long-standing texts: copying to the chosen name can fail too.
inline constexpr std::string_view kCannotSaveVoiceFile = " CANNOT SAVE VOICE MESSAGE FILE ";
inline constexpr std::string_view kWaitingForVoiceMemory =
    "Waiting for VWM to initialize voice storage memory.";
inline constexpr std::string_view kSecondsRemaining = " seconds remaining.";
inline constexpr std::string_view kVoicesTransferred = "Voices transferred to the Corvane VWM";
inline constexpr std::string_view kVoiceTransferFailure = "Voice transfer failure";
inline constexpr std::string_view kNotEnoughVoiceData = "Not enough voice data to be valid.";
inline constexpr std::string_view kVoiceDataRead = "Voice data read from the Corvane VWM";
inline constexpr std::string_view kSelectFileForStorage = "Select a file for storage";

} // namespace veskar::texts
