// Replays fuzz corpus files through LLVMFuzzerTestOneInput, for ordinary builds without libFuzzer.
// Arguments are files or folders (every regular file inside, in name order). Fails when nothing was replayed.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size);

namespace
{

bool Replay(const std::filesystem::path& File)
{
	std::ifstream Stream(File, std::ios::binary);
	if (!Stream)
	{
		std::fprintf(stderr, "cannot read %s\n", File.string().c_str());
		return false;
	}
	const std::vector<char> Bytes((std::istreambuf_iterator<char>(Stream)), std::istreambuf_iterator<char>());
	std::vector<std::uint8_t> Input(Bytes.begin(), Bytes.end());
	(void)LLVMFuzzerTestOneInput(Input.data(), Input.size());
	return true;
}

} // namespace

int main(int ArgumentCount, char** Arguments)
{
	std::size_t Replayed = 0;
	bool bOk = true;
	for (int Index = 1; Index < ArgumentCount; ++Index)
	{
		const std::filesystem::path Path(Arguments[Index]);
		std::error_code Error;
		if (std::filesystem::is_directory(Path, Error))
		{
			std::vector<std::filesystem::path> Files;
			for (const auto& Entry : std::filesystem::directory_iterator(Path, Error))
			{
				if (Entry.is_regular_file())
				{
					Files.push_back(Entry.path());
				}
			}
			std::sort(Files.begin(), Files.end());
			for (const auto& File : Files)
			{
				bOk = Replay(File) && bOk;
				++Replayed;
			}
		}
		else
		{
			bOk = Replay(Path) && bOk;
			++Replayed;
		}
	}
	std::printf("replayed %zu inputs\n", Replayed);
	return bOk && Replayed > 0 ? 0 : 1;
}
