// The platform mouse cursor (ApplicationCore): GenericApplication::Cursor is one.
// Evidence: the engine's own header [SRC, UE 5.x Runtime/ApplicationCore/Public/GenericPlatform/ICursor.h] and the
// 5.5 API pages of ICursor.
#pragma once

#include "CoreMinimal.h"

// The engine names the Windows rectangle portably: an incomplete tagRECT that <windows.h> completes on Windows.
struct tagRECT;
typedef struct tagRECT RECT;

/** Mouse cursor shapes. */
namespace EMouseCursor
{
	enum Type : int
	{
		/** No visible cursor. */
		None,
		/** The default arrow. */
		Default,
		/** Text edit beam. */
		TextEditBeam,
		/** Resize horizontally. */
		ResizeLeftRight,
		/** Resize vertically. */
		ResizeUpDown,
		/** Resize diagonally (down-right). */
		ResizeSouthEast,
		/** Resize diagonally (down-left). */
		ResizeSouthWest,
		/** Move an item. */
		CardinalCross,
		/** Target cross. */
		Crosshairs,
		/** Hand. */
		Hand,
		/** Open grabbing hand. */
		GrabHand,
		/** Closed grabbing hand. */
		GrabHandClosed,
		/** A circle with a slash through it. */
		SlashedCircle,
		/** Colour picker. */
		EyeDropper,
		/** A custom shape set with SetTypeShape; as None when unset. */
		Custom,
		/** Number of cursor types. */
		TotalCursorCount
	};
}

class ICursor
{
public:
	virtual ~ICursor() = default;

	/** Creates a hardware cursor from a file; null when not available. */
	virtual void* CreateCursorFromFile(const FString& InPathToCursorWithoutExtension, FVector2D HotSpot) { return nullptr; }

	/** Whether CreateCursorFromRGBABuffer is supported. */
	virtual bool IsCreateCursorFromRGBABufferSupported() const { return false; }

	/** Creates a hardware cursor from pixels; null when not available. */
	virtual void* CreateCursorFromRGBABuffer(const FColor* Pixels, int32 Width, int32 Height, FVector2D InHotSpot) { return nullptr; }

	/** The position of the cursor on the virtual desktop, in pixels. */
	virtual FVector2D GetPosition() const = 0;

	/** Moves the cursor to a virtual-desktop pixel. */
	virtual void SetPosition(const int32 X, const int32 Y) = 0;

	/** Sets the cursor shape. */
	virtual void SetType(const EMouseCursor::Type InNewCursor) = 0;

	/** The current cursor shape. */
	virtual EMouseCursor::Type GetType() const = 0;

	/** The cursor's size in pixels. */
	virtual void GetSize(int32& Width, int32& Height) const = 0;

	/** Shows or hides the cursor. */
	virtual void Show(bool bShow) = 0;

	/**
	 * Work that cannot be done per event. Present with an empty default in the engine's current header;
	 * UNCONFIRMED for 5.5 (harmless: it has a default and Slate's stand-in never calls it).
	 */
	virtual void Tick() {}

	/** Locks the cursor inside Bounds; null unlocks it. */
	virtual void Lock(const RECT* const Bounds) = 0;

	/** Overrides the shape used for one cursor type. */
	virtual void SetTypeShape(EMouseCursor::Type InCursorType, void* CursorHandle) = 0;
};
