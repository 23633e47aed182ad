#include "KorvatSyncNodeDetails.h"

#include "DetailCategoryBuilder.h"
#include "DetailLayoutBuilder.h"
#include "DetailWidgetRow.h"
#include "KorvatD2ISyncNodeBase.h"
#include "Styling/AppStyle.h"
#include "Templates/Casts.h"
#include "Widgets/Input/SButton.h"
#include "Widgets/Text/STextBlock.h"

#define LOCTEXT_NAMESPACE "CustomDataModelSyncDetails"

TSharedRef<IDetailCustomization> FKorvatSyncNodeDetails::MakeInstance()
{
	return MakeShareable(new FKorvatSyncNodeDetails);
}

void FKorvatSyncNodeDetails::CustomizeDetails(IDetailLayoutBuilder& DetailBuilder)
{
	TArray<TWeakObjectPtr<UObject>> Objects;
	DetailBuilder.GetObjectsBeingCustomized(Objects);
	// With several nodes selected, the button acts on the first.
	for (const TWeakObjectPtr<UObject>& Object : Objects)
	{
		if (UKorvatD2ISyncNodeBase* Node = Cast<UKorvatD2ISyncNodeBase>(Object.Get()))
		{
			SelectedNode = Node;
			break;
		}
	}

	const FText RowText = LOCTEXT("SyncKorvatNode", "Sync Node Fields From Korvat");
	IDetailCategoryBuilder& Category = DetailBuilder.EditCategory(TEXT("Custom Data Model Sync"), FText::GetEmpty(), ECategoryPriority::Default);
	Category.AddCustomRow(RowText)
		.NameContent()
		[
			SNew(STextBlock)
			.Text(RowText)
			.Font(FAppStyle::GetFontStyle(TEXT("PropertyWindow.NormalFont")))
		]
		.ValueContent()
		[
			SNew(SButton)
			.Text(LOCTEXT("DoSyncKorvatNode", "Do Sync"))
			.OnClicked(FOnClicked::CreateRaw(this, &FKorvatSyncNodeDetails::OnDoSyncClicked))
		];
}

FReply FKorvatSyncNodeDetails::OnDoSyncClicked()
{
	if (UKorvatD2ISyncNodeBase* Node = SelectedNode.Get())
	{
		Node->SyncFields();
	}
	return FReply::Handled();
}

#undef LOCTEXT_NAMESPACE
