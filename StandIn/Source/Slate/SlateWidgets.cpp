// Slate widgets: border, text block and button.
#include "Widgets/Input/SButton.h"
#include "Widgets/Layout/SBorder.h"
#include "Widgets/Text/STextBlock.h"

SBorder::SBorder() = default;

void SBorder::Construct(const FArguments& InArgs)
{
	ChildSlot[InArgs._Content];
}

void SBorder::SetContent(TSharedRef<SWidget> InContent)
{
	ChildSlot[InContent];
}

const TSharedRef<SWidget>& SBorder::GetContent() const
{
	return ChildSlot.GetWidget();
}

STextBlock::STextBlock() = default;

STextBlock::~STextBlock() = default;

void STextBlock::Construct(const FArguments& InArgs)
{
	BoundText = InArgs._Text;
	Font = InArgs._Font;
}

const FText& STextBlock::GetText() const
{
	return BoundText.Get(FText::GetEmpty());
}

void STextBlock::SetText(TAttribute<FText> InText)
{
	BoundText = MoveTemp(InText);
}

void STextBlock::SetFont(const TAttribute<FSlateFontInfo>& InFont)
{
	Font = InFont;
}

SButton::SButton() = default;

void SButton::Construct(const FArguments& InArgs)
{
	OnClicked = InArgs._OnClicked;

	// A button given a text shows it in a text block, unless it was given content of its own.
	if (InArgs._Content == SNullWidget::NullWidget && InArgs._Text.IsSet())
	{
		SBorder::Construct(SBorder::FArguments()
			[
				SNew(STextBlock)
				.Text(InArgs._Text)
			]);
	}
	else
	{
		SBorder::Construct(SBorder::FArguments()[InArgs._Content]);
	}
}

void SButton::SetOnClicked(FOnClicked InOnClicked)
{
	OnClicked = InOnClicked;
}

void SButton::SimulateClick()
{
	ExecuteOnClick();
}

FReply SButton::ExecuteOnClick()
{
	if (OnClicked.IsBound())
	{
		return OnClicked.Execute();
	}
	return FReply::Handled();
}
