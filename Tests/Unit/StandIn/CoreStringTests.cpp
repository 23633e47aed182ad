// Strings, names, text, conversions and GUIDs of the stand-in engine: the engine semantics the
// plug-in relies on (case-insensitive FString equality and hashing, IgnoreCase defaults, printf
// rules, byte widening, GUID text forms).
#include <gtest/gtest.h>

#include "CoreMinimal.h"
#include "Misc/Guid.h"

namespace
{
	TEST(CoreString_test, EmptyStringsNeverYieldNullAndOwnNoBuffer)
	{
		const FString Empty;
		ASSERT_NE(*Empty, nullptr);
		EXPECT_EQ(**Empty, TEXT('\0'));
		EXPECT_EQ(Empty.Len(), 0);
		EXPECT_TRUE(Empty.IsEmpty());
		EXPECT_EQ(Empty.GetCharArray().GetData(), nullptr);
		EXPECT_TRUE(FString(TEXT("")).IsEmpty());
		EXPECT_TRUE(FString(static_cast<const TCHAR*>(nullptr)).IsEmpty());
	}

	TEST(CoreString_test, EqualityAndHashIgnoreCaseButEqualsDefaultsToCaseSensitive)
	{
		const FString Upper(TEXT("KorvatLaunchID"));
		const FString Lower(TEXT("korvatlaunchid"));
		EXPECT_TRUE(Upper == Lower);
		EXPECT_TRUE(Upper == TEXT("KORVATLAUNCHID"));
		EXPECT_FALSE(Upper != Lower);
		EXPECT_EQ(GetTypeHash(Upper), GetTypeHash(Lower));
		EXPECT_FALSE(Upper.Equals(Lower));
		EXPECT_TRUE(Upper.Equals(Lower, ESearchCase::IgnoreCase));
		EXPECT_FALSE(FString(TEXT("abc")) < FString(TEXT("ABC")));
		EXPECT_TRUE(FString(TEXT("abc")) < FString(TEXT("ABD")));
		EXPECT_NE(Upper, FString(TEXT("KorvatLaunchIDs")));
	}

	TEST(CoreString_test, SearchesIgnoreCaseByDefault)
	{
		const FString Token(TEXT("-korvatlaunchid={01234567-89AB-CDEF-0123-456789ABCDEF}"));
		EXPECT_EQ(Token.Find(TEXT("-KorvatLaunchID=")), 0);
		EXPECT_EQ(Token.Find(TEXT("-KorvatLaunchID="), ESearchCase::CaseSensitive), INDEX_NONE);
		EXPECT_TRUE(Token.StartsWith(TEXT("-KORVATLAUNCHID=")));
		EXPECT_FALSE(Token.StartsWith(TEXT("-KORVATLAUNCHID="), ESearchCase::CaseSensitive));
		EXPECT_TRUE(Token.EndsWith(TEXT("cdef}")));
		EXPECT_TRUE(Token.Contains(TEXT("89ab")));

		const FString Repeated(TEXT("abcABCabc"));
		EXPECT_EQ(Repeated.Find(TEXT("ABC"), ESearchCase::IgnoreCase, ESearchDir::FromStart, 1), 3);
		EXPECT_EQ(Repeated.Find(TEXT("abc"), ESearchCase::CaseSensitive, ESearchDir::FromEnd), 6);
		EXPECT_EQ(Repeated.Find(TEXT("abc"), ESearchCase::CaseSensitive, ESearchDir::FromEnd, 6), 0);
		EXPECT_EQ(Repeated.Find(TEXT("xyz")), INDEX_NONE);
	}

	TEST(CoreString_test, ParseIntoArrayWSSplitsAtWhitespaceAndCullsEmptyTokens)
	{
		const FString CommandLine(TEXT("  Game.exe\t-KorvatLaunchID={X}\r\n -log  \"quoted arg\" "));
		TArray<FString> Tokens;
		EXPECT_EQ(CommandLine.ParseIntoArrayWS(Tokens), 5);
		ASSERT_EQ(Tokens.Num(), 5);
		EXPECT_EQ(Tokens[0], TEXT("Game.exe"));
		EXPECT_EQ(Tokens[1], TEXT("-KorvatLaunchID={X}"));
		EXPECT_EQ(Tokens[2], TEXT("-log"));
		EXPECT_TRUE(Tokens[3].Equals(TEXT("\"quoted"), ESearchCase::CaseSensitive));
		EXPECT_TRUE(Tokens[4].Equals(TEXT("arg\""), ESearchCase::CaseSensitive));

		TArray<FString> WithExtra;
		FString(TEXT("a,b c")).ParseIntoArrayWS(WithExtra, TEXT(","));
		ASSERT_EQ(WithExtra.Num(), 3);
		EXPECT_EQ(WithExtra[1], TEXT("b"));

		TArray<FString> KeepEmpty;
		FString(TEXT("a  b")).ParseIntoArrayWS(KeepEmpty, nullptr, false);
		EXPECT_EQ(KeepEmpty.Num(), 3);

		TArray<FString> Parts;
		EXPECT_EQ(FString(TEXT("x::y::::z")).ParseIntoArray(Parts, TEXT("::")), 3);
		EXPECT_EQ(Parts[2], TEXT("z"));
	}

	TEST(CoreString_test, PrintfFollowsTheEngineFormatRules)
	{
		const FString Name(TEXT("Pin"));
		EXPECT_TRUE(FString::Printf(TEXT("%s=%d"), *Name, -42).Equals(TEXT("Pin=-42"), ESearchCase::CaseSensitive));
		EXPECT_TRUE(FString::Printf(TEXT("[%5s|%-5s|%.2s]"), TEXT("ab"), TEXT("cd"), TEXT("xyz")).Equals(TEXT("[   ab|cd   |xy]"), ESearchCase::CaseSensitive));
		EXPECT_TRUE(FString::Printf(TEXT("%08X %x %u"), 0xBEEFu, 255u, 4000000000u).Equals(TEXT("0000BEEF ff 4000000000"), ESearchCase::CaseSensitive));
		EXPECT_TRUE(FString::Printf(TEXT("%lld %llu"), -9000000000LL, 18000000000000000000ULL).Equals(TEXT("-9000000000 18000000000000000000"), ESearchCase::CaseSensitive));
		EXPECT_TRUE(FString::Printf(TEXT("%.3f %5.1f %e"), 3.14159, 2.75f, 1500.0).Equals(TEXT("3.142   2.8 1.500000e+03"), ESearchCase::CaseSensitive));
		EXPECT_TRUE(FString::Printf(TEXT("%c%c %hs %%"), TEXT('o'), TEXT('k'), "narrow").Equals(TEXT("ok narrow %"), ESearchCase::CaseSensitive));
		EXPECT_TRUE(FString::Printf(TEXT("%*d|%-*d|"), 4, 7, 3, 1).Equals(TEXT("   7|1  |"), ESearchCase::CaseSensitive));
		EXPECT_TRUE(FString::Printf(TEXT("%s"), static_cast<const TCHAR*>(nullptr)).Equals(TEXT("(null)"), ESearchCase::CaseSensitive));
		// %s takes a wide string on every target, including non-ASCII characters.
		const TCHAR Wide[] = {TEXT('a'), static_cast<TCHAR>(0x00E9), static_cast<TCHAR>(0x20AC), 0};
		const FString Formatted = FString::Printf(TEXT("<%s>"), Wide);
		ASSERT_EQ(Formatted.Len(), 5);
		EXPECT_EQ(Formatted[2], static_cast<TCHAR>(0x00E9));
		EXPECT_EQ(Formatted[3], static_cast<TCHAR>(0x20AC));
	}

	TEST(CoreString_test, SubstringsClampAndEditsKeepTheTerminator)
	{
		const FString Text(TEXT("Hello World"));
		EXPECT_EQ(Text.Left(5), TEXT("Hello"));
		EXPECT_EQ(Text.Right(5), TEXT("World"));
		EXPECT_EQ(Text.Mid(6), TEXT("World"));
		EXPECT_EQ(Text.Mid(6, 2), TEXT("Wo"));
		EXPECT_EQ(Text.Mid(20, 2), TEXT(""));
		EXPECT_EQ(Text.Mid(-3, 5), TEXT("He"));
		EXPECT_EQ(Text.Left(99), Text);
		EXPECT_EQ(Text.LeftChop(6), TEXT("Hello"));
		EXPECT_EQ(Text.RightChop(6), TEXT("World"));
		EXPECT_TRUE(Text.ToLower().Equals(TEXT("hello world"), ESearchCase::CaseSensitive));
		// The engine changes the case of ASCII letters only.
		EXPECT_TRUE(FString(TEXT("\u00C4\u03A3B")).ToLower().Equals(TEXT("\u00C4\u03A3b"), ESearchCase::CaseSensitive));
		EXPECT_TRUE(FString(TEXT("\u00E4z")).ToUpper().Equals(TEXT("\u00E4Z"), ESearchCase::CaseSensitive));

		FString Edited(TEXT("Value"));
		Edited.ToUpperInline();
		Edited += TEXT("_");
		Edited += FString(TEXT("x"));
		Edited.AppendChar(TEXT('!'));
		Edited.Append(TEXT("12345"), 2);
		EXPECT_TRUE(Edited.Equals(TEXT("VALUE_x!12"), ESearchCase::CaseSensitive));
		EXPECT_EQ(Edited.Len(), FCString::Strlen(*Edited));
		Edited += Edited; // appending to itself
		EXPECT_TRUE(Edited.Equals(TEXT("VALUE_x!12VALUE_x!12"), ESearchCase::CaseSensitive));

		FString Left, Right;
		EXPECT_TRUE(FString(TEXT("Key=Value=More")).Split(TEXT("="), &Left, &Right));
		EXPECT_EQ(Left, TEXT("Key"));
		EXPECT_EQ(Right, TEXT("Value=More"));
		EXPECT_TRUE(FString(TEXT("aXbxc")).Replace(TEXT("x"), TEXT("--")).Equals(TEXT("a--b--c"), ESearchCase::CaseSensitive));
		EXPECT_TRUE(FString(TEXT("  trim \t")).TrimStartAndEnd().Equals(TEXT("trim"), ESearchCase::CaseSensitive));
		EXPECT_TRUE(FString::SanitizeFloat(1.5).Equals(TEXT("1.5"), ESearchCase::CaseSensitive));
		EXPECT_TRUE(FString::SanitizeFloat(2.0).Equals(TEXT("2.0"), ESearchCase::CaseSensitive));
		EXPECT_TRUE(FString::SanitizeFloat(2.0, 0).Equals(TEXT("2"), ESearchCase::CaseSensitive));
		EXPECT_TRUE(FString::FromInt(-7).Equals(TEXT("-7"), ESearchCase::CaseSensitive));
	}

	TEST(CoreString_test, AnsiConstructionWidensBytesWhileUtf8ConvertersEncode)
	{
		// Each byte becomes one TCHAR: 0xC3 0xA9 (UTF-8 for U+00E9) stays two characters.
		const FString Widened("caf\xC3\xA9");
		ASSERT_EQ(Widened.Len(), 5);
		EXPECT_EQ(Widened[3], static_cast<TCHAR>(0xC3));
		EXPECT_EQ(Widened[4], static_cast<TCHAR>(0xA9));

		const FUTF8ToTCHAR Decoded("caf\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x98\x80");
		const FString FromUtf8(Decoded.Length(), Decoded.Get());
		EXPECT_EQ(FromUtf8[3], static_cast<TCHAR>(0xE9));
		EXPECT_EQ(FromUtf8[5], static_cast<TCHAR>(0x20AC));
		EXPECT_EQ(FromUtf8.Len(), sizeof(TCHAR) == 2 ? 9 : 8); // U+1F600 is a surrogate pair in UTF-16

		const FTCHARToUTF8 Encoded(*FromUtf8);
		EXPECT_EQ(Encoded.Length(), 3 + 2 + 1 + 3 + 1 + 4);
		EXPECT_STREQ(Encoded.Get(), "caf\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x98\x80");

		const FTCHARToUTF8 EmptyEncoded(TEXT(""));
		ASSERT_NE(EmptyEncoded.Get(), nullptr);
		EXPECT_EQ(EmptyEncoded.Length(), 0);
	}

	TEST(CoreName_test, NamesCompareWithoutCaseAndKeepTheirOwnSpelling)
	{
		const FName First(TEXT("CoreNameTestResultPin"));
		const FName Second(TEXT("corenametestresultPIN"));
		EXPECT_EQ(First, Second);
		EXPECT_EQ(GetTypeHash(First), GetTypeHash(Second));
		EXPECT_EQ(First.GetComparisonIndex(), Second.GetComparisonIndex());
		// Editor builds preserve each spelling (WITH_CASE_PRESERVING_NAME).
		EXPECT_TRUE(First.ToString().Equals(TEXT("CoreNameTestResultPin"), ESearchCase::CaseSensitive));
		EXPECT_TRUE(Second.ToString().Equals(TEXT("corenametestresultPIN"), ESearchCase::CaseSensitive));
		EXPECT_TRUE(FName(TEXT("corenametestresultPIN")).ToString().Equals(TEXT("corenametestresultPIN"), ESearchCase::CaseSensitive));
		EXPECT_TRUE(FName(TEXT("CoreNameTestResultPin")).ToString().Equals(TEXT("CoreNameTestResultPin"), ESearchCase::CaseSensitive));
		EXPECT_TRUE(First == TEXT("CORENAMETESTRESULTPIN"));
		EXPECT_NE(First, FName(TEXT("CoreNameTestOtherPin")));

		EXPECT_TRUE(FName().IsNone());
		EXPECT_EQ(FName(TEXT("")), NAME_None);
		EXPECT_EQ(FName(TEXT("none")), NAME_None);
		EXPECT_TRUE(FName(NAME_None).ToString().Equals(TEXT("None"), ESearchCase::CaseSensitive));
		EXPECT_EQ(FName(TEXT("CoreNameTestNeverAdded"), FNAME_Find), NAME_None);
	}

	TEST(CoreText_test, TextKeepsItsSourceAndLocalisationKey)
	{
#define LOCTEXT_NAMESPACE "KorvatTest"
		const FText Localised = LOCTEXT("ConnectKey", "Connect");
#undef LOCTEXT_NAMESPACE
		EXPECT_TRUE(Localised.ToString().Equals(TEXT("Connect"), ESearchCase::CaseSensitive));
		EXPECT_TRUE(FTextInspector::GetNamespace(Localised).GetValue().Equals(TEXT("KorvatTest"), ESearchCase::CaseSensitive));
		EXPECT_TRUE(FTextInspector::GetKey(Localised).GetValue().Equals(TEXT("ConnectKey"), ESearchCase::CaseSensitive));

		const FText Standalone = NSLOCTEXT("Space", "Key", "Value");
		EXPECT_TRUE(FTextInspector::GetNamespace(Standalone).GetValue().Equals(TEXT("Space"), ESearchCase::CaseSensitive));

		const FText FromString = FText::FromString(TEXT("Plain"));
		EXPECT_FALSE(FTextInspector::GetKey(FromString).IsSet());
		EXPECT_TRUE(FText::GetEmpty().IsEmpty());
		EXPECT_TRUE(FText::AsNumber(1234567).ToString().Equals(TEXT("1,234,567"), ESearchCase::CaseSensitive));
	}

	TEST(CoreGuid_test, ParseAcceptsEveryEngineTextForm)
	{
		const FGuid Expected(0x01234567u, 0x89ABCDEFu, 0x01234567u, 0x89ABCDEFu);
		const TCHAR* const Forms[] = {
			TEXT("0123456789ABCDEF0123456789abcdef"),
			TEXT("01234567-89AB-CDEF-0123-456789ABCDEF"),
			TEXT("{01234567-89ab-cdef-0123-456789abcdef}"),
			TEXT("(01234567-89AB-CDEF-0123-456789ABCDEF)"),
			TEXT("01234567-89ABCDEF-01234567-89ABCDEF"),
			TEXT("{0x01234567,0x89AB,0xCDEF,{0x01,0x23,0x45,0x67,0x89,0xAB,0xCD,0xEF}}"),
		};
		for (const TCHAR* Form : Forms)
		{
			FGuid Parsed;
			EXPECT_TRUE(FGuid::Parse(FString(Form), Parsed)) << FTCHARToUTF8(Form).Get();
			EXPECT_EQ(Parsed, Expected) << FTCHARToUTF8(Form).Get();
		}

		const TCHAR* const Malformed[] = {
			TEXT(""),
			TEXT("0123456789ABCDEF0123456789ABCDEG"),
			TEXT("01234567-89AB-CDEF-0123+456789ABCDEF"),
			TEXT("[01234567-89AB-CDEF-0123-456789ABCDEF]"),
			TEXT("0123456789ABCDEF0123456789ABCDE"),
			TEXT("not a guid"),
		};
		for (const TCHAR* Form : Malformed)
		{
			FGuid Parsed;
			EXPECT_FALSE(FGuid::Parse(FString(Form), Parsed)) << FTCHARToUTF8(Form).Get();
		}
	}

	TEST(CoreGuid_test, ToStringRoundTripsThroughParseForEachFormat)
	{
		const FGuid Guid(0xDEADBEEFu, 0x0badf00du, 0x12345678u, 0x9abcdef0u);
		EXPECT_TRUE(Guid.ToString().Equals(TEXT("DEADBEEF0BADF00D123456789ABCDEF0"), ESearchCase::CaseSensitive));
		EXPECT_TRUE(Guid.ToString(EGuidFormats::DigitsWithHyphensInBraces).Equals(TEXT("{DEADBEEF-0BAD-F00D-1234-56789ABCDEF0}"), ESearchCase::CaseSensitive));
		for (EGuidFormats Format : {EGuidFormats::Digits, EGuidFormats::DigitsLower, EGuidFormats::DigitsWithHyphens, EGuidFormats::DigitsWithHyphensLower,
				 EGuidFormats::DigitsWithHyphensInBraces, EGuidFormats::DigitsWithHyphensInParentheses, EGuidFormats::HexValuesInBraces,
				 EGuidFormats::UniqueObjectGuid, EGuidFormats::Short})
		{
			FGuid Parsed;
			const FString Text = Guid.ToString(Format);
			EXPECT_TRUE(FGuid::ParseExact(Text, Format, Parsed)) << FTCHARToUTF8(*Text).Get();
			EXPECT_EQ(Parsed, Guid) << FTCHARToUTF8(*Text).Get();
		}

		const FGuid A = FGuid::NewGuid();
		const FGuid B = FGuid::NewGuid();
		EXPECT_TRUE(A.IsValid());
		EXPECT_NE(A, B);
		EXPECT_FALSE(FGuid().IsValid());
	}
}
