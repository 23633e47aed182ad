#include "ChildProcess.h"

namespace Korvat::Testing
{

std::optional<std::string> ChildProcess::ReadLine(std::chrono::milliseconds Timeout)
{
	const auto Deadline = std::chrono::steady_clock::now() + Timeout;
	for (;;)
	{
		if (const std::size_t End = Pending.find('\n'); End != std::string::npos)
		{
			std::string Line = Pending.substr(0, End);
			Pending.erase(0, End + 1);
			if (!Line.empty() && Line.back() == '\r')
			{
				Line.pop_back();
			}
			Lines.push_back(Line);
			return Line;
		}
		if (bOutputEnded)
		{
			return std::nullopt;
		}
		// Look at least once, so a zero time-out still takes what the child has already written.
		const auto Now = std::chrono::steady_clock::now();
		const auto Left = Now < Deadline ? std::chrono::duration_cast<std::chrono::milliseconds>(Deadline - Now) : std::chrono::milliseconds(0);
		if (!FillBuffer(Left) && std::chrono::steady_clock::now() >= Deadline)
		{
			return std::nullopt;
		}
	}
}

std::optional<std::string> ChildProcess::WaitForLine(std::string_view Text, std::chrono::milliseconds Timeout)
{
	const auto Deadline = std::chrono::steady_clock::now() + Timeout;
	for (;;)
	{
		const auto Left = std::chrono::duration_cast<std::chrono::milliseconds>(Deadline - std::chrono::steady_clock::now());
		if (Left.count() <= 0)
		{
			return std::nullopt;
		}
		std::optional<std::string> Line = ReadLine(Left);
		if (!Line)
		{
			return std::nullopt;
		}
		if (Line->find(Text) != std::string::npos)
		{
			return Line;
		}
	}
}

std::string ChildProcess::TranscriptText() const
{
	std::string Out;
	for (const std::string& Line : Lines)
	{
		Out += Line;
		Out += '\n';
	}
	return Out;
}

} // namespace Korvat::Testing
