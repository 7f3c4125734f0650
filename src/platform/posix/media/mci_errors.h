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

}  // namespace trallio::media
