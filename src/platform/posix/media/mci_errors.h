// The error codes the service returns, with the values and meanings Windows gives them
// (mmsystem.h: MCIERR_BASE 256 plus an offset). Only the ones this service can return are here.
//
// The service's files use their own name for MCIERROR so that they need not include
// platform/win32.h, whose TRUE and FALSE clash with GLib's; media_service.cpp checks that the
// two types are the same.
#pragma once

namespace trallio::media {

using MciError = unsigned long;

constexpr MciError kMciOk = 0;
constexpr MciError kMciUnrecognizedKeyword = 259;   // MCIERR_UNRECOGNIZED_KEYWORD
constexpr MciError kMciUnrecognizedCommand = 261;   // MCIERR_UNRECOGNIZED_COMMAND
constexpr MciError kMciInvalidDeviceName = 263;     // MCIERR_INVALID_DEVICE_NAME
constexpr MciError kMciDeviceOpen = 265;            // MCIERR_DEVICE_OPEN
constexpr MciError kMciCannotLoadDriver = 266;      // MCIERR_CANNOT_LOAD_DRIVER
constexpr MciError kMciMissingCommandString = 267;  // MCIERR_MISSING_COMMAND_STRING
constexpr MciError kMciParamOverflow = 268;         // MCIERR_PARAM_OVERFLOW
constexpr MciError kMciBadInteger = 270;            // MCIERR_BAD_INTEGER
constexpr MciError kMciMissingParameter = 273;      // MCIERR_MISSING_PARAMETER
constexpr MciError kMciUnsupportedFunction = 274;   // MCIERR_UNSUPPORTED_FUNCTION
constexpr MciError kMciFileNotFound = 275;          // MCIERR_FILE_NOT_FOUND
constexpr MciError kMciOutOfRange = 282;            // MCIERR_OUTOFRANGE
constexpr MciError kMciMissingDeviceName = 292;     // MCIERR_MISSING_DEVICE_NAME
constexpr MciError kMciNoClosingQuote = 294;        // MCIERR_NO_CLOSING_QUOTE
constexpr MciError kMciInvalidFile = 296;           // MCIERR_INVALID_FILE

// The service's own text for each of its error numbers, for programs that tell a person why a
// command failed (the counterpart of mciGetErrorString).
inline const char* MciErrorText(MciError error) {
    switch (error) {
        case kMciOk:
            return "no error";
        case kMciUnrecognizedKeyword:
            return "an unknown word in the command";
        case kMciUnrecognizedCommand:
            return "an unknown command";
        case kMciInvalidDeviceName:
            return "the device is not open";
        case kMciDeviceOpen:
            return "the device is already open";
        case kMciCannotLoadDriver:
            return "the media service could not start (GStreamer is missing or broken)";
        case kMciMissingCommandString:
            return "an empty command";
        case kMciParamOverflow:
            return "the reply does not fit the caller's buffer";
        case kMciBadInteger:
            return "a number that is not a whole number";
        case kMciMissingParameter:
            return "a word of the command is missing";
        case kMciUnsupportedFunction:
            return "the command is not supported";
        case kMciFileNotFound:
            return "the file does not exist";
        case kMciOutOfRange:
            return "a number out of range";
        case kMciMissingDeviceName:
            return "no device name";
        case kMciNoClosingQuote:
            return "a quote without its closing quote";
        case kMciInvalidFile:
            return "not a file that can be played (a folder, or a file that cannot be decoded)";
        default:
            return "unknown error";
    }
}

}  // namespace trallio::media
