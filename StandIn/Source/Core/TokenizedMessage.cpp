// Messages of message logs.
#include "Logging/TokenizedMessage.h"

TSharedRef<FTokenizedMessage> FTokenizedMessage::Create(EMessageSeverity::Type InSeverity, const FText& InMessageText)
{
	TSharedRef<FTokenizedMessage> Message = MakeShareable(new FTokenizedMessage());
	Message->SetSeverity(InSeverity);
	Message->Text = InMessageText;
	return Message;
}

FText FTokenizedMessage::ToText() const
{
	return Text;
}
