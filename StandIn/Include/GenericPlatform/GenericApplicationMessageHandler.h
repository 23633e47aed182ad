// The receiver of platform input events (ApplicationCore); Slate's application implements it.
#pragma once

#include "CoreMinimal.h"

class FGenericWindow;

namespace EMouseButtons
{
	enum Type
	{
		Left = 0,
		Middle,
		Right,
		Thumb01,
		Thumb02,
		Invalid,
	};
}

/** Every handler returns whether it consumed the event; the defaults consume nothing. */
class FGenericApplicationMessageHandler
{
public:
	virtual ~FGenericApplicationMessageHandler() {}

	virtual bool OnKeyChar(const TCHAR Character, const bool IsRepeat) { return false; }
	virtual bool OnKeyDown(const int32 KeyCode, const uint32 CharacterCode, const bool IsRepeat) { return false; }
	virtual bool OnKeyUp(const int32 KeyCode, const uint32 CharacterCode, const bool IsRepeat) { return false; }
	virtual bool OnMouseDown(const TSharedPtr<FGenericWindow>& Window, const EMouseButtons::Type Button) { return false; }
	virtual bool OnMouseDown(const TSharedPtr<FGenericWindow>& Window, const EMouseButtons::Type Button, const FVector2D CursorPos) { return false; }
	virtual bool OnMouseUp(const EMouseButtons::Type Button) { return false; }
	virtual bool OnMouseUp(const EMouseButtons::Type Button, const FVector2D CursorPos) { return false; }
	virtual bool OnMouseDoubleClick(const TSharedPtr<FGenericWindow>& Window, const EMouseButtons::Type Button) { return false; }
	virtual bool OnMouseDoubleClick(const TSharedPtr<FGenericWindow>& Window, const EMouseButtons::Type Button, const FVector2D CursorPos) { return false; }
	virtual bool OnMouseWheel(const float Delta) { return false; }
	virtual bool OnMouseWheel(const float Delta, const FVector2D CursorPos) { return false; }
	virtual bool OnMouseMove() { return false; }
	virtual bool OnRawMouseMove(const int32 X, const int32 Y) { return false; }
	virtual bool OnCursorSet() { return false; }
};
