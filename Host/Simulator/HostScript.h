// The command language of the korvat-host tool: one command per line, parsed into a ScriptCommand, and the
// builder that turns "send" arguments into the bytes of a message of the catalogue.
#pragma once

#include "HostSimulator.h"

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace Korvat::Host
{

enum class ECommandKind : std::uint8_t
{
	Slots,         ///< slots
	Accept,        ///< accept N [no-monitor] [no-data-event] [no-pipe] [no-sync-event]
	Drop,          ///< drop N
	Free,          ///< free N
	SetState,      ///< set-state N S
	WaitConnected, ///< wait connected [N|*] [timeout-ms]
	WaitMessage,   ///< wait message TAG [timeout-ms]
	Sleep,         ///< sleep MS
	Send,          ///< send N TAG args... / send N raw hex... / input N events... (an ITAC message)
	HoldTable,     ///< hold-table
	ReleaseTable,  ///< release-table
	Quit,          ///< quit
	Die,           ///< die: end the process at once, leaving every host object abandoned
	Name,          ///< name NAME... (names for the printed ids; Names holds them)
};

/** A slot argument: a number from 0 to 15, or `*` for the first connected slot. */
struct SlotRef
{
	bool bFirstConnected = false;
	std::uint32_t Index = 0;
};

struct ScriptCommand
{
	ECommandKind Kind = ECommandKind::Quit;
	SlotRef Slot;
	/** wait connected without a slot: any slot will do. */
	bool bAnySlot = false;
	std::int32_t State = 0;
	std::uint32_t TimeoutMs = 0;
	std::uint32_t SleepMs = 0;
	std::uint32_t Tag = 0;
	/** For send: the payload after the tag; with bRaw, the whole message. */
	std::vector<std::uint8_t> Payload;
	bool bRaw = false;
	/** For send FLDS last: the tool puts the GUID of the plug-in's latest field-list question in the payload. */
	bool bAnswersLastQuestion = false;
	HostObjectSet Objects;
	/** The names the command gave: the name command's, or the name a send used for its id. */
	std::vector<std::string> Names;
};

enum class EParseResult : std::uint8_t
{
	Command, ///< Out holds the command.
	Nothing, ///< A blank line or a comment.
	Error,   ///< Error holds a one-line reason.
};

/** The time-out of the wait commands when the line gives none. */
constexpr std::uint32_t DefaultWaitTimeoutMs = 10000;

/** Parses one line of a script. */
EParseResult ParseScriptLine(std::string_view Line, ScriptCommand& Out, std::string& Error);

/**
 * Builds the payload of a message from its tag and the words after it (Rest is the text after the tag, kept
 * as written for the commands that take free text). False with a reason in Error on bad arguments.
 * Tags outside the catalogue take their payload as hexadecimal bytes.
 * An id is a number or a name ("door.width"), hashed to its value id; a name used is added to OutNames.
 */
bool BuildPayload(std::string_view TagName, std::string_view Rest, std::vector<std::uint8_t>& Out, std::string& Error,
                  std::vector<std::string>* OutNames = nullptr);

/**
 * Parses names separated by commas or blanks ("door.width,door.open cam"), with the escapes of text. False with
 * a reason in Error when the list is empty or an item is written as a number or holds a zero byte.
 */
bool ParseNameList(std::string_view Text, std::vector<std::string>& Out, std::string& Error);

/**
 * Builds one input packet from the words after `input SLOT`: events separated by ";" (mouse move X Y, key down VK,
 * touch add ID X Y [FORCE], timecode T, ...; see ScriptHelpText), one bundle element per event, in order.
 * False with a reason in Error on an unknown event or a bad argument.
 */
bool BuildInputPacket(std::string_view Events, std::vector<std::uint8_t>& Out, std::string& Error);

/** Parses a GUID written with or without braces ("{0B5A4F1E-...}"); false if it is not one. */
bool ParseGuid(std::string_view Text, Korvat::UE4::GUID& Out);

/** The command reference printed by `korvat-host --help`. */
const char* ScriptHelpText();

} // namespace Korvat::Host
